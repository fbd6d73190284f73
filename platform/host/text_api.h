// Text and debugging functions of kernel32 and user32.
#pragma once

#include <stdarg.h>

#include "win32_types.h"

// wsprintfA's limit: at most 1024 bytes are written, terminator included.
int wsprintfA(LPSTR out, LPCSTR format, ...);
int wvsprintfA(LPSTR out, LPCSTR format, va_list args);
LPSTR lstrcpynA(LPSTR out, LPCSTR in, int size);
int lstrlenA(LPCSTR text);
void OutputDebugStringA(LPCSTR text);
