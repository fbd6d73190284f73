// Stand-in for the end of the session: records each restart request instead
// of making it. The privilege and the refusals follow Windows' documented
// rules, so that a request an old Windows would refuse shows in a test.
#include "system/shutdown_request.h"

#include "tests/stand_ins/stand_ins.h"

namespace {

std::vector<stand_in::ShutdownRequest> requests;
bool privilege_held, privilege_enabled;

fake::ResetHook shutdown_reset([] {
    requests.clear();
    privilege_held = true;
    privilege_enabled = false;
});

bool FlagsKnown(UINT flags) {
    const fake::WindowsVersion& version = fake::CurrentWindowsVersion();
    bool nt5 = version.platform == VER_PLATFORM_WIN32_NT && version.major >= 5;
    return nt5 || !(flags & EWX_FORCEIFHUNG);
}

}  // namespace

bool EnableShutdownPrivilege() {
    fake::LogCall("EnableShutdownPrivilege", "");
    if (fake::InjectedFailure("EnableShutdownPrivilege", "") || !privilege_held) return false;
    privilege_enabled = true;
    return true;
}

bool RequestShutdown(UINT flags, DWORD reason) {
    std::string subject = std::to_string(flags);
    fake::LogCall("ExitWindowsEx", subject);
    DWORD error = fake::InjectedFailure("ExitWindowsEx", subject);
    bool nt = fake::CurrentWindowsVersion().platform == VER_PLATFORM_WIN32_NT;
    if (!error && !FlagsKnown(flags)) error = ERROR_INVALID_PARAMETER;
    if (!error && nt && !privilege_enabled) error = ERROR_PRIVILEGE_NOT_HELD;
    requests.push_back({flags, reason, error == 0});
    if (error) SetLastError(error);
    return error == 0;
}

namespace stand_in {

const std::vector<ShutdownRequest>& ShutdownRequests() { return requests; }
void SetShutdownPrivilegeHeld(bool held) { privilege_held = held; }

}  // namespace stand_in
