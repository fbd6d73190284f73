// The program's own process in kernel32: its command line, its module's
// path, the last error, the user's language and the ANSI code
// page's lead bytes.
#pragma once

#include "win32_types.h"

LPSTR GetCommandLineA(void);
// Always 1234 on the host: the run log's lines carry it.
DWORD GetCurrentProcessId(void);
HANDLE GetCurrentProcess(void);  // the pseudo-handle -1
DWORD GetModuleFileNameA(HMODULE module, LPSTR file_name, DWORD size);
DWORD GetLastError(void);
void SetLastError(DWORD error);
BOOL IsDBCSLeadByte(BYTE test_char);
UINT GetACP(void);
LANGID GetUserDefaultLangID(void);
