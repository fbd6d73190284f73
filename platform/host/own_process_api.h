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

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
typedef OSVERSIONINFOA* LPOSVERSIONINFOA;
BOOL GetVersionExA(LPOSVERSIONINFOA info);
