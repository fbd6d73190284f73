// Offering the restart that completes deletions deferred to the next start.
#include "system/restart.h"

#include "system/windows_family.h"

namespace {

// ExitWindowsEx refuses a process without the shutdown privilege on the
// whole NT family; Windows 9x has no privileges.
bool ShutdownNeedsPrivilege(DWORD family) {
    return family == FamilyWin2000 || family == FamilyNT4;
}

// True when the token now has the shutdown privilege enabled.
bool EnableShutdownOn(HANDLE token) {
    TOKEN_PRIVILEGES privileges;
    memset(&privileges, 0, sizeof privileges);
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) return false;
    // Success with ERROR_NOT_ALL_ASSIGNED means the token does not hold it.
    return GetLastError() == ERROR_SUCCESS;
}

bool EnableShutdownPrivilege() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    bool enabled = EnableShutdownOn(token);
    CloseHandle(token);
    return enabled;
}

}  // namespace

// Only an explicit OK restarts: a box that could not be shown answers 0,
// and a forced restart closes every program without asking.
void OfferRestart() {
    int answer = MessageBoxA(nullptr, "Uninstall needs to restart your system to complete",
                             "Restart Windows", MB_OKCANCEL);
    if (answer != IDOK) return;
    if (ShutdownNeedsPrivilege(GetWindowsFamily()) && !EnableShutdownPrivilege()) return;
    ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0);
}
