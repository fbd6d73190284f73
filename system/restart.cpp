// Offering the restart that completes deletions deferred to the next start.
#include "system/restart.h"

#include "system/interactive_session.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "system/shutdown_request.h"
#include "system/windows_family.h"

namespace {

// ExitWindowsEx refuses a process without the shutdown privilege on the
// whole NT family; Windows 9x has no privileges.
bool ShutdownNeedsPrivilege(DWORD family) {
    return family == FamilyWin2000 || family == FamilyNT4;
}

struct RestartRequest {
    UINT flags;
    DWORD reason;
};

// From Windows 2000 on, programs that still answer are asked to close and
// may save their work (a forced restart loses it), and from XP on the
// restart names its reason, a planned one of an application's
// installation, for the system's shutdown log. NT 4 and Windows 9x know
// neither: they are forced, with no reason.
RestartRequest RestartRequestForThisWindows() {
    if (GetWindowsFamily() != FamilyWin2000) return {EWX_REBOOT | EWX_FORCE, 0};
    if (!IsWindowsXpOrLater()) return {EWX_REBOOT | EWX_FORCEIFHUNG, 0};
    return {EWX_REBOOT | EWX_FORCEIFHUNG, SHTDN_REASON_MAJOR_APPLICATION |
                                              SHTDN_REASON_MINOR_INSTALLATION |
                                              SHTDN_REASON_FLAG_PLANNED};
}

}  // namespace

// Only an explicit OK restarts: a box that could not be shown answers 0.
// "/norestart" neither asks nor restarts: the exit code says it instead.
bool AskForRestart() {
    if (NoRestartRun) {
        LogEvent("restart: not asked (/norestart)");
        return false;
    }
    int answer = ShowBoxIfSeen("Uninstall needs to restart your system to complete", "Restart Windows",
                               MB_OKCANCEL);
    LogRestartQuestion(answer);
    return answer == IDOK;
}

bool RestartWindows() {
    if (ShutdownNeedsPrivilege(GetWindowsFamily()) && !EnableShutdownPrivilege()) {
        LogLine("restart: not requested, the shutdown privilege could not be enabled");
        return false;
    }
    RestartRequest request = RestartRequestForThisWindows();
    LogLine("restart: requested");
    if (RequestShutdown(request.flags, request.reason)) return true;
    LogLine("restart: Windows refused it, error %u", (unsigned)GetLastError());
    return false;
}
