// Started programs and waits (kernel32): the types and constants of the
// program's own seams, whose calls stand-ins take on the host; and
// CloseHandle, which the fake's kernel handles share.
#pragma once

#include "win32_types.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define STILL_ACTIVE 259u
#define CREATE_NO_WINDOW 0x08000000u
#define SYNCHRONIZE 0x00100000u

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};

BOOL CloseHandle(HANDLE handle);
