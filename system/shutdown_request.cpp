// Enabling the shutdown privilege and asking Windows to restart.
#include "system/shutdown_request.h"

#include "system/security_api.h"

namespace {

// True when the token now has the shutdown privilege enabled.
bool EnableShutdownOn(const SecurityApi& api, HANDLE token) {
    TOKEN_PRIVILEGES privileges;
    memset(&privileges, 0, sizeof privileges);
    if (!api.LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        return false;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!api.AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) return false;
    // Success with ERROR_NOT_ALL_ASSIGNED means the token does not hold it.
    return GetLastError() == ERROR_SUCCESS;
}

}  // namespace

bool EnableShutdownPrivilege() {
    SecurityApi api;
    HANDLE token;
    if (!LoadSecurityApi(&api)) return false;
    if (!api.OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    bool enabled = EnableShutdownOn(api, token);
    CloseHandle(token);
    return enabled;
}

bool RequestShutdown(UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason) != FALSE; }
