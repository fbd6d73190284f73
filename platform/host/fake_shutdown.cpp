// Restart requests: ExitWindowsEx records what was asked for instead of
// ending the session. As on Windows, the NT family refuses a process whose
// token has not enabled the shutdown privilege; Windows 9x asks for none.
// EWX_FORCEIFHUNG is documented from Windows 2000 on: older ones refuse it.
#include "fake_world.h"

namespace {

std::vector<fake::ShutdownRequest> requests;

fake::ResetHook shutdown_reset([] { requests.clear(); });

bool PrivilegeNeeded() {
    return fake::CurrentWindowsVersion().platform == VER_PLATFORM_WIN32_NT;
}

bool FlagsKnown(UINT flags) {
    const fake::WindowsVersion& version = fake::CurrentWindowsVersion();
    bool nt5 = version.platform == VER_PLATFORM_WIN32_NT && version.major >= 5;
    return nt5 || !(flags & EWX_FORCEIFHUNG);
}

}  // namespace

BOOL ExitWindowsEx(UINT flags, DWORD reason) {
    std::string subject = std::to_string(flags);
    fake::LogCall("ExitWindowsEx", subject);
    DWORD error = fake::InjectedFailure("ExitWindowsEx", subject);
    if (!error && !FlagsKnown(flags)) error = ERROR_INVALID_PARAMETER;
    if (!error && PrivilegeNeeded() && !fake::ProcessPrivilegeEnabled("SeShutdownPrivilege"))
        error = ERROR_PRIVILEGE_NOT_HELD;
    requests.push_back({flags, reason, error == 0});
    if (error) SetLastError(error);
    return error == 0;
}

namespace fake {

const std::vector<ShutdownRequest>& ShutdownRequests() { return requests; }

}  // namespace fake
