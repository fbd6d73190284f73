// Loading system libraries and finding their entry points at run time
// (kernel32), for functions that the oldest Windows lack.
#pragma once

#include "win32_types.h"

#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L

typedef INT_PTR (*FARPROC)();

HMODULE LoadLibraryA(LPCSTR file_name);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR proc_name);
