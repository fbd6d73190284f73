// Opening and closing the run log, and the preview's own file and box.
#include "app/run_record.h"

#include "system/command_options.h"
#include "removal/guardrails/protected_files.h"
#include "removal/guardrails/protected_folders.h"
#include "system/interactive_session.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "system/run_summary.h"

namespace {

// "uninst-preview.log", or "uninst-preview-2.log" and on when the name is
// taken: never a file someone else made.
const char kPreviewFileName[] = "uninst-preview";
const int kPreviewNames = 99;

// Where the preview goes without "/log=": the user's temporary folder.
char preview_path[MAX_PATH + 32];
bool preview_opened;
bool preview_box_due;  // a preview without "/log=": the user is told where
bool log_missing;      // "/log=" named a file that could not be opened

// A "/log=" that was refused or could not be opened: said in a box.
char log_box_text[MAX_PATH + 160];

bool FormPreviewPath(const char* folder, int number) {
    if (number == 1) return wsprintfA(preview_path, "%s%s.log", folder, kPreviewFileName) > 0;
    return wsprintfA(preview_path, "%s%s-%d.log", folder, kPreviewFileName, number) > 0;
}

// A preview without "/log=" starts a new file of its own: it is this run's
// answer, read once. A name already taken is passed over, whatever holds
// it; a free one is tried once (CREATE_NEW: taken meanwhile, it fails).
void OpenPreviewLog() {
    char folder[MAX_PATH + 1];
    preview_path[0] = 0;
    preview_opened = false;
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return;
    if (folder[length - 1] != '\\') lstrcpynA(folder + length, "\\", 2);
    for (int number = 1; number <= kPreviewNames && FormPreviewPath(folder, number); ++number) {
        if (GetFileAttributesA(preview_path) != INVALID_FILE_ATTRIBUTES) continue;
        preview_opened = OpenRunLog(preview_path, true);
        return;
    }
}

// A fixed English text: not one of the localised messages.
void TellWherePreviewIs() {
    if (RunMode == Silent) return;
    char text[sizeof preview_path + 96];
    if (preview_opened)
        wsprintfA(text, "The preview of the removal was written to %s", preview_path);
    else
        wsprintfA(text, "The preview of the removal could not be written to %s",
                  preview_path[0] ? preview_path : "the temporary folder");
    ShowBoxIfSeen(text, "Uninstall Preview", MB_OK | MB_ICONINFORMATION);
}

bool IsLocalDrive(const char* full) {
    if (full[0] == '\\' || full[1] != ':') return false;
    char root[4] = {full[0], ':', '\\', 0};
    return GetDriveTypeA(root) != DRIVE_REMOTE;
}

// "/log=" never writes through a link or junction on this machine's
// drives, nor into a file the guardrails keep as Windows' own (asked of a
// file that was there and is not an earlier log: the run log at a drive's
// root is such a log).
const char* LogPlaceRefusal(const char* full) {
    return IsLocalDrive(full) ? FileChangeRefusal(full) : nullptr;
}

// The log "/log=" names, judged and then opened as its full path: false
// when it is refused or cannot be opened.
bool OpenLogOption(const char* path) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    const char* why = length && length < sizeof full ? LogPlaceRefusal(full) : "its full path could not be had";
    if (!why && OpenRunLog(full, false, WindowsFileRefusal)) return true;
    if (!why) why = RunLogRefusal();
    wsprintfA(log_box_text, "The run log was not written to %.259s: %.120s", path, why);
    return false;
}

void TellLogRefused() {
    if (RunMode == Silent || !log_box_text[0]) return;
    ShowBoxIfSeen(log_box_text, "Uninstall Log", MB_OK | MB_ICONWARNING);
}

}  // namespace

void BeginRunRecord(const char* command_line, bool run) {
    PreviewRun = run && PreviewOption(command_line);
    preview_box_due = false;
    log_box_text[0] = 0;
    char path[MAX_PATH];
    log_missing = false;
    if (LogPathOption(command_line, path, sizeof path)) {
        log_missing = !OpenLogOption(path);
    } else if (PreviewRun) {
        OpenPreviewLog();
        preview_box_due = true;
    }
    LogRunStart(command_line);
}

void EndRunRecord(int exit_code) {
    LogExit(exit_code);
    LogRunSummary(exit_code);
    CloseRunLog();
    TellLogRefused();
    if (preview_box_due) TellWherePreviewIs();
}

bool RunLogMissing() { return log_missing; }
