// Opening and closing the run log, and the preview's own file and box.
#include "app/run_record.h"

#include "app/command_options.h"
#include "system/interactive_session.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "system/run_summary.h"

namespace {

const char kPreviewFileName[] = "uninst-preview.log";

// Where the preview goes without "/log=": the user's temporary folder.
char preview_path[MAX_PATH + sizeof kPreviewFileName];
bool preview_opened;
bool preview_box_due;  // a preview without "/log=": the user is told where
bool log_missing;      // "/log=" named a file that could not be opened

bool FormPreviewPath() {
    DWORD length = GetTempPathA(MAX_PATH, preview_path);
    if (length == 0 || length >= MAX_PATH) return false;
    if (preview_path[length - 1] != '\\') lstrcpynA(preview_path + length++, "\\", 2);
    lstrcpynA(preview_path + length, kPreviewFileName, sizeof kPreviewFileName);
    return true;
}

// A preview without "/log=" starts its own file afresh: it is this run's
// answer, read once.
void OpenPreviewLog() {
    preview_path[0] = 0;
    preview_opened = FormPreviewPath() && OpenRunLog(preview_path, true);
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

}  // namespace

void BeginRunRecord(const char* command_line, bool run) {
    PreviewRun = run && PreviewOption(command_line);
    preview_box_due = false;
    char path[MAX_PATH];
    log_missing = false;
    if (LogPathOption(command_line, path, sizeof path)) {
        log_missing = !OpenRunLog(path, false);
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
    if (preview_box_due) TellWherePreviewIs();
}

bool RunLogMissing() { return log_missing; }
