// The entry point of the device-manager tools: started with the word
// "remove", a tool reads the request, removes what it names and writes its
// verdict. Without the word it does nothing. No C run-time is linked.
#include "devtools/tool_entry.h"

#include "system/command_tail.h"
#include "system/command_words.h"
#include "devtools/device_match.h"
#include "devtools/tool_backend.h"
#include "devtools/tool_files.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"

namespace {

// The first word of the tail is "remove", in any letter case (quotes are
// part of the word).
bool AskedToRemove() {
    char word[8];
    const char* tail = CommandLineTail(GetCommandLineA());
    return CopyWord(tail, " \t", word, sizeof word) && MbSameNoCase(word, "remove");
}

DeviceRequest g_request;  // large: kept out of the stack

void RemoveAsRequested(ToolOutcome* outcome) {
    DWORD error = 0;
    if (!ReadToolRequest(&g_request, &error)) {
        NoteFailure(outcome, error);
        return;
    }
    UseToolLog(g_request.log, kToolTag);
    RefuseGenericIds(&g_request);
    RemoveRequested(g_request, outcome);
    if (outcome->failed)
        ToolLog("ended: %d device(s) removed, first failure error %u", (int)outcome->removed,
                (unsigned)outcome->error);
    else ToolLog("ended: %d device(s) removed", (int)outcome->removed);
}

// The other build could not take the request: the log says so here.
void LogHandOverFailure(const ToolOutcome& outcome) {
    DWORD error = 0;
    if (!ReadToolRequest(&g_request, &error)) return;
    UseToolLog(g_request.log, kToolTag);
    ToolLog("could not hand the request to the build for this Windows: error %u", (unsigned)outcome.error);
}

// The exit code is for people only: uninst.exe reads the result file.
UINT Run() {
    if (!AskedToRemove()) return 2;
    ToolOutcome outcome = {};
    HandOver hand_over = HandRequestOver(&outcome);
    if (hand_over == kHandedOver) return 0;
    if (hand_over == kRunHere) RemoveAsRequested(&outcome);
    else LogHandOverFailure(outcome);
    if (!WriteToolResult(outcome, kToolTag)) return 3;
    return outcome.failed ? 1 : 0;
}

}  // namespace

extern "C" void WinMainCRTStartup(void) { ExitProcess(Run()); }
