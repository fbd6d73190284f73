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

// Asks the system on every call; 0 when the version cannot be read.
DWORD GetWindowsFamily();

// Windows 95, 98 or Me.
bool IsWin9xFamily(DWORD family);

// Windows XP or a later NT (5.1 and up); false when the version cannot be
// read.
bool IsWindowsXpOrLater();
