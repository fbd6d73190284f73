// Ending the Windows session: the flags and reasons of ExitWindowsEx, which
// the host build never calls (a stand-in takes the restart's place).
#pragma once

#include "win32_types.h"

#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004
#define EWX_FORCEIFHUNG 0x00000010  // Windows 2000 and later

// The reason codes, from XP on.
#define SHTDN_REASON_MAJOR_APPLICATION 0x00040000
#define SHTDN_REASON_MINOR_INSTALLATION 0x00000002
#define SHTDN_REASON_FLAG_PLANNED 0x80000000

#define ERROR_PRIVILEGE_NOT_HELD 1314L
