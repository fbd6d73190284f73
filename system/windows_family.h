// Which family of Windows the program runs on.
#pragma once

#include "platform/platform.h"

// Fixed numbering, not in order of release.
enum WindowsFamily {
    FamilyUnknown = 0,
    FamilyWin98 = 1,
    FamilyWin2000 = 2,  // NT 5 and every later NT
    FamilyNT4 = 3,
    FamilyWin95 = 4,
    FamilyWinMe = 5,
};

// The version as the system reports it, in the plain 148-byte structure;
// false, its fields left at zero, when it cannot be read.
bool ReadWindowsVersion(OSVERSIONINFOA* info);

// Asks the system on every call; 0 when the version cannot be read.
DWORD GetWindowsFamily();

// Windows 95, 98 or Me.
bool IsWin9xFamily(DWORD family);

// Windows XP or a later NT (5.1 and up); false when the version cannot be
// read.
bool IsWindowsXpOrLater();

// True on the NT platform, whatever its version (NT 3.51 included); false on
// Windows 9x and when the version is unknown.
bool IsWindowsNT();
