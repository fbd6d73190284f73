// The fake's local time: one fixed moment, so that what a test reads back
// (a log's lines) does not depend on when it runs.
#include "fake_world.h"

void GetLocalTime(LPSYSTEMTIME time) {
    fake::LogCall("GetLocalTime", "");
    *time = SYSTEMTIME{2026, 12, 2, 8, 9, 5, 7, 0};
}
