// The Windows version the fake system reports.
#include "fake_world.h"

#include <string.h>

namespace fake {
const WindowsVersion kWin95 = {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950};
const WindowsVersion kWin98 = {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222};
const WindowsVersion kWinMe = {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000};
const WindowsVersion kNT351 = {VER_PLATFORM_WIN32_NT, 3, 51, 1057};
const WindowsVersion kNT4 = {VER_PLATFORM_WIN32_NT, 4, 0, 1381};
const WindowsVersion kWin2000 = {VER_PLATFORM_WIN32_NT, 5, 0, 2195};
const WindowsVersion kWinXP = {VER_PLATFORM_WIN32_NT, 5, 1, 2600};
const WindowsVersion kWin10 = {VER_PLATFORM_WIN32_NT, 10, 0, 19045};
}  // namespace fake

namespace {
fake::WindowsVersion version;
fake::ResetHook version_reset([] { version = fake::kWinXP; });
}  // namespace

namespace fake {
void SetWindowsVersion(const WindowsVersion& v) { version = v; }
}  // namespace fake

// Refuses a size other than the plain or the extended structure's, as
// Windows does.
BOOL GetVersionExA(LPOSVERSIONINFOA info) {
    fake::LogCall("GetVersionExA", "");
    if (DWORD error = fake::InjectedFailure("GetVersionExA", "")) {
        SetLastError(error);
        return FALSE;
    }
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
        info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) + 8) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    info->dwPlatformId = version.platform;
    info->dwMajorVersion = version.major;
    info->dwMinorVersion = version.minor;
    info->dwBuildNumber = version.build;
    memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return TRUE;
}

namespace fake {
const WindowsVersion& CurrentWindowsVersion() { return version; }
}  // namespace fake
