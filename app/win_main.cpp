// The entry point: the mode word decides what the process does.
#include "app/win_main.h"

#include "app/cleanup_copy.h"
#include "system/command_options.h"
#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "app/run_uninstall.h"
#include "app/run_record.h"
#include "platform/mbtext.h"
#include "system/interactive_session.h"
#include "system/one_run.h"
#include "system/run_log.h"
#include "system/run_summary.h"
#include "system/run_state.h"

namespace {

// The progress dialog lives from before the driver runs until it returns.
int RunVerbose(HINSTANCE instance) {
    HWND dialog = CreateProgressDialog(instance);
    if (!dialog) return 2;
    int result = RunUninstall(dialog);
    CloseProgressWindow(dialog);
    return result;
}

}  // namespace

ModeWord MatchModeWord(const char* tail) {
    static const struct { const char* word; ModeWord mode; } kWords[] = {
        {"verbose", ModeVerbose}, {"quiet", ModeQuiet},       {"silent", ModeSilent},
        {"install", ModeInstall}, {"services", ModeServices},
    };
    for (auto& entry : kWords)
        if (MbAfterPrefixNoCase(tail, entry.word)) return entry.mode;
    return ModeNone;
}

namespace {

int RunModeWord(HINSTANCE instance, ModeWord mode) {
    switch (mode) {
    case ModeVerbose:
        RunMode = Verbose;
        return RunVerbose(instance);
    case ModeQuiet:
        RunMode = Quiet;
        return RunUninstall(nullptr);
    case ModeSilent:
        RunMode = Silent;
        return RunUninstall(nullptr);
    case ModeInstall:
        InstallMode = true;
        RunMode = Silent;
        return RunUninstall(nullptr);
    case ModeServices:
        return RunServicesMode();
    case ModeNone:
        break;
    }
    return 4;
}

// Software-distribution tools read Windows Installer's codes. A run told
// not to restart (or one no one can see, which behaves so) answers in
// them (system/run_summary.h has the rest); every other run keeps the
// codes the setups that call it know.
const int kExitAnotherRun = 1618;
const int kExitNoLog = 1622;

int ExitCodeForDeployment(int exit_code) {
    int code = DeploymentExitCode(exit_code);
    if (code != exit_code) LogLine("exit code %d, told as %d for deployment tools", exit_code, code);
    return code;
}

// Where no one can answer a box, the run goes as with "/norestart".
void BehaveAsUnseenWhereNoOneSees() {
    if (SomeoneCanSeeBoxes()) return;
    LogLine("no one can see this session: no box is shown and no restart is asked (as with /norestart)");
    NoRestartRun = true;
}

// One run at a time: a second waits for the first to end, or, told not
// to restart (a deployment tool, which retries), ends at once with 1618.
// Such a tool also gets 1622, and no removal, when its log cannot be had.
int RunAlone(HINSTANCE instance, ModeWord mode) {
    if (mode == ModeNone) return 4;
    if (NoRestartRun && RunLogMissing()) return kExitNoLog;
    OneRunLock lock = TakeOneRunLock(!NoRestartRun);
    if (lock == LockHeldElsewhere) {
        LogLine("another run of the uninstaller is under way: this one removes nothing");
        return kExitAnotherRun;
    }
    if (lock == LockUnavailable)
        LogLine("the lock against a second run could not be made, error %u: going on without it",
                (unsigned)GetLastError());
    int exit_code = RunModeWord(instance, mode);
    ReleaseOneRunLock();
    return exit_code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    if (IsCleanupCopyTail(tail)) return RunCleanupCopy(tail);
    InstallMode = false;
    RestartNeeded = false;
    ClearRunSummary();
    NoRestartRun = NoRestartOption(GetCommandLineA());
    ModeWord mode = MatchModeWord(tail);
    BeginRunRecord(GetCommandLineA(), mode != ModeNone);
    if (mode != ModeNone) BehaveAsUnseenWhereNoOneSees();
    int exit_code = ExitCodeForDeployment(RunAlone(instance, mode));
    EndRunRecord(exit_code);
    return exit_code;
}
