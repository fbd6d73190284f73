// One removal at a time on the whole machine: two runs at once would start
// the service programs twice and write their logs into each other.
#pragma once

#include "platform/platform.h"

enum OneRunLock {
    LockTaken,          // this run may go on; release it at the end
    LockHeldElsewhere,  // another run holds it and `wait` was false
    LockUnavailable,    // the lock could not be made: the run goes on without it
};

// Takes the machine-wide lock. With `wait`, a run that holds it is waited
// for to its end (a run that ended without releasing it counts as ended).
OneRunLock TakeOneRunLock(bool wait);

// Gives the lock up; the end of the process would too.
void ReleaseOneRunLock();

// The product's own uninstall command may start this program again (the
// marker it finds tells that run to remove locally): the lock is lent to
// it while the command runs, and taken back after, waiting for it with
// `wait` (without, a run that took it meanwhile leaves this one unlocked).
void LendOneRunLock();
void TakeBackOneRunLock(bool wait);
