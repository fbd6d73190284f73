// The entry point: the mode word decides what the process does.
#include "app/cleanup_copy.h"
#include "app/command_options.h"
#include "app/driver.h"
#include "app/progress_dialog.h"
#include "app/run_record.h"
#include "platform/mbtext.h"
#include "system/run_log.h"
#include "system/run_state.h"

namespace {

// The progress dialog lives from before the driver runs until it returns.
int RunVerbose(HINSTANCE instance) {
    HWND dialog = CreateProgressDialog(instance);
    if (!dialog) return 2;
    int result = RunUninstall(dialog);
    DestroyWindow(dialog);
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

// Software-distribution tools read 3010 as "removed; a restart will
// complete it". Only a run told not to restart says so, and only where it
// would otherwise have ended with 0: every other code keeps its meaning.
const int kExitRestartNeeded = 3010;

int ExitCodeWithRestart(int exit_code) {
    if (!NoRestartRun || !RestartNeeded || exit_code != 0) return exit_code;
    LogLine("restart: needed and not asked for (/norestart): exit code %d", kExitRestartNeeded);
    return kExitRestartNeeded;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    if (IsCleanupCopyTail(tail)) return RunCleanupCopy(tail);
    InstallMode = false;
    RestartNeeded = false;
    NoRestartRun = NoRestartOption(GetCommandLineA());
    ModeWord mode = MatchModeWord(tail);
    BeginRunRecord(GetCommandLineA(), mode != ModeNone);
    int exit_code = ExitCodeWithRestart(RunModeWord(instance, mode));
    EndRunRecord(exit_code);
    return exit_code;
}
