// Telling the Windows 9x family from the NT family, and their members apart.
// The only place that asks the system for its version.
#include "system/windows_family.h"

bool ReadWindowsVersion(OSVERSIONINFOA* info) {
    memset(info, 0, sizeof *info);
    info->dwOSVersionInfoSize = sizeof *info;  // 148: the plain structure
    return GetVersionExA(info) != FALSE;
}

DWORD GetWindowsFamily() {
    OSVERSIONINFOA info;
    if (!ReadWindowsVersion(&info)) return FamilyUnknown;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (info.dwMajorVersion == 4) return FamilyNT4;
        return info.dwMajorVersion >= 5 ? FamilyWin2000 : FamilyUnknown;
    }
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (info.dwMinorVersion == 0) return FamilyWin95;
        return info.dwMinorVersion == 90 ? FamilyWinMe : FamilyWin98;
    }
    return FamilyUnknown;
}

bool IsWin9xFamily(DWORD family) {
    return family == FamilyWin95 || family == FamilyWin98 || family == FamilyWinMe;
}

bool IsWindowsXpOrLater() {
    OSVERSIONINFOA info;
    if (!ReadWindowsVersion(&info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion >= 1);
}

bool IsWindowsNT() {
    OSVERSIONINFOA info;
    return ReadWindowsVersion(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
