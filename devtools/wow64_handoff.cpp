// On 64-bit Windows a 32-bit process cannot remove devices: the 32-bit
// tool hands the request to its x86-64 build beside it, XLNWLD2K64.exe,
// waits for it and leaves the result to it.
#include "devtools/wow64_handoff.h"

#include <type_traits>

#include "devtools/tool_files.h"
#include "removal/sibling_program.h"
#include "system/run_time_functions.h"

#define NATIVE_TOOL "XLNWLD2K64.exe"

namespace {

// The SDK's own declaration: a wrong calling convention cannot slip in.
typedef decltype(&::IsWow64Process) IsWow64ProcessFn;
static_assert(std::is_same<IsWow64ProcessFn, BOOL(WINAPI*)(HANDLE, PBOOL)>::value, "IsWow64ProcessFn is not the documented function");

// IsWow64Process exists from XP SP2 on: looked up, never imported.
bool RunningUnderWow64() {
    IsWow64ProcessFn call = LoadedFunction<IsWow64ProcessFn>("kernel32.dll", "IsWow64Process");
    BOOL wow64 = FALSE;
    return call && call(GetCurrentProcess(), &wow64) && wow64;
}

// Runs the native build to its end; false with the error when it cannot.
bool RunNativeTool(DWORD* error) {
    char command[SIBLING_MODULE_PATH_SIZE + sizeof NATIVE_TOOL + 16];
    if (!SiblingProgramCommand(NATIVE_TOOL, "remove", command, sizeof command)) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        *error = GetLastError();
        return false;
    }
    CloseHandle(process.hThread);
    bool ended = WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0;
    *error = ended ? 0 : GetLastError();
    CloseHandle(process.hProcess);
    return ended;
}

}  // namespace

HandOver HandRequestOver(ToolOutcome* outcome) {
    if (!RunningUnderWow64()) return kRunHere;
    char result[MAX_PATH];
    if (!ToolFilePath('r', result, sizeof result)) {
        NoteFailure(outcome, ERROR_PATH_NOT_FOUND);
        return kHandOverFailed;
    }
    DeleteFileA(result);  // an old verdict must not pass for the new one
    DWORD error;
    if (!RunNativeTool(&error)) NoteFailure(outcome, error);
    else if (GetFileAttributesA(result) == INVALID_FILE_ATTRIBUTES) NoteFailure(outcome, ERROR_FILE_NOT_FOUND);
    return outcome->failed ? kHandOverFailed : kHandedOver;
}
