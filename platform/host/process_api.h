// Process-environment functions of kernel32: the command line, the module's
// own path, and the code page's lead bytes.
#pragma once

#include "win32_types.h"

LPSTR GetCommandLineA(void);
DWORD GetModuleFileNameA(HMODULE module, LPSTR file_name, DWORD size);
HMODULE GetModuleHandleA(LPCSTR module_name);
DWORD GetLastError(void);
void SetLastError(DWORD error);
BOOL IsDBCSLeadByte(BYTE test_char);
UINT GetACP(void);
