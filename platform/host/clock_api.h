// Waiting: Sleep and GetTickCount of kernel32, served on the host by a fake clock that only
// adds up the time asked for.
#pragma once

#include "win32_types.h"

void Sleep(DWORD milliseconds);
// Milliseconds since the system started, wrapping at 2^32.
DWORD GetTickCount(void);
