// The fake clock: Sleep and timed waits return at once and the time they
// would have waited is added up, so that a test reads the pauses without
// waiting for them; the tick count moves by the same. The local time is
// one fixed moment, so that what a test reads back (a log's lines) does not
// depend on when it runs.
#include "fake_world.h"

namespace {

DWORD slept;
// Near the counter's wrap, so that a pause that spans it is seen working.
const DWORD kBootTicks = 0xFFFFFF00u;

fake::ResetHook clock_reset([] { slept = 0; });

}  // namespace

// An injected failure makes the call return without any time passing.
void Sleep(DWORD milliseconds) {
    std::string subject = std::to_string(milliseconds);
    fake::LogCall("Sleep", subject);
    if (fake::InjectedFailure("Sleep", subject)) return;
    slept += milliseconds;
}

DWORD GetTickCount(void) {
    fake::LogCall("GetTickCount", "");
    return kBootTicks + slept;
}

void GetLocalTime(LPSYSTEMTIME time) {
    fake::LogCall("GetLocalTime", "");
    *time = SYSTEMTIME{2026, 12, 2, 8, 9, 5, 7, 0};
}

namespace fake {

DWORD SleptMilliseconds() { return slept; }
void PassTime(DWORD milliseconds) { slept += milliseconds; }

}  // namespace fake
