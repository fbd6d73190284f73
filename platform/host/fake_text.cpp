// Text and debugging functions of the fake world.
#include "fake_world.h"

#include <stdio.h>
#include <string.h>

int wvsprintfA(LPSTR out, LPCSTR format, va_list args) {
    int written = vsnprintf(out, 1024, format, args);
    return written < 0 ? 0 : (written > 1023 ? 1023 : written);
}

int wsprintfA(LPSTR out, LPCSTR format, ...) {
    va_list args;
    va_start(args, format);
    int written = wvsprintfA(out, format, args);
    va_end(args);
    return written;
}

// Copies at most size - 1 characters and always terminates, as Windows does.
LPSTR lstrcpynA(LPSTR out, LPCSTR in, int size) {
    if (size <= 0) return out;
    int i = 0;
    for (; i < size - 1 && in[i]; ++i) out[i] = in[i];
    out[i] = 0;
    return out;
}

int lstrlenA(LPCSTR text) { return text ? (int)strlen(text) : 0; }

void OutputDebugStringA(LPCSTR text) { fake::LogCall("OutputDebugStringA", text); }
