// Time in kernel32: waiting (Sleep), the tick count and the local date and
// time, served on the host by a fake clock that only adds up the time asked
// for and reports one fixed date.
#pragma once

#include "win32_types.h"

void Sleep(DWORD milliseconds);
// Milliseconds since the system started, wrapping at 2^32.
DWORD GetTickCount(void);

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

void GetLocalTime(LPSYSTEMTIME time);
