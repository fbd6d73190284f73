// The Windows and system directories (kernel32).
#pragma once

#include "win32_types.h"

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
// Present from Windows 2000 on; the program reaches it by GetProcAddress.
UINT GetSystemWindowsDirectoryA(LPSTR buffer, UINT size);
// The user's temporary folder, with a backslash at its end.
DWORD GetTempPathA(DWORD size, LPSTR buffer);
// "%NAME%" replaced by the environment's value (an unknown one is kept);
// the size needed, terminator included, or 0 on failure.
DWORD ExpandEnvironmentStringsA(LPCSTR source, LPSTR destination, DWORD size);
