// Shell folders (shell32). SHGetSpecialFolderPathA came with a later shell
// than the first Windows 95 and NT 4 had; the program reaches it by
// GetProcAddress.
#pragma once

#include "win32_types.h"

#define CSIDL_PROGRAMS 0x0002
#define CSIDL_COMMON_PROGRAMS 0x0017

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create);
