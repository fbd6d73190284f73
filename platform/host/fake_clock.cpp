// The fake clock: Sleep returns at once and the time it would have waited is
// added up, so that a test reads the pauses without waiting for them.
#include "fake_world.h"

namespace {

DWORD slept;

fake::ResetHook clock_reset([] { slept = 0; });

}  // namespace

// An injected failure makes the call return without any time passing.
void Sleep(DWORD milliseconds) {
    std::string subject = std::to_string(milliseconds);
    fake::LogCall("Sleep", subject);
    if (fake::InjectedFailure("Sleep", subject)) return;
    slept += milliseconds;
}

namespace fake {

DWORD SleptMilliseconds() { return slept; }

}  // namespace fake
