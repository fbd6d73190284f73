// The machine-wide lock against a second run, a named mutex.
#include "system/one_run.h"

#include "system/named_mutex.h"
#include "system/run_log.h"
#include "system/windows_family.h"

namespace {

HANDLE lock = nullptr;
bool lock_held;  // this process owns the mutex now

// From Windows 2000 on a plain name is one session's: a run in another
// session (the system account's, a second user's) must see it, hence
// "Global\". NT 4 and Windows 9x have one namespace for all.
void FormLockName(char* name) {
    wsprintfA(name, "%sXLNWL.uninstaller.run", GetWindowsFamily() == FamilyWin2000 ? "Global\\" : "");
}

HANDLE OpenLock() {
    char name[64];
    FormLockName(name);
    return OpenNamedMutex(name);
}

bool Taken(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

}  // namespace

OneRunLock TakeOneRunLock(bool wait) {
    ReleaseOneRunLock();
    lock = OpenLock();
    if (!lock) return LockUnavailable;
    DWORD waited = WaitForNamedMutex(lock, 0);
    if (waited == WAIT_TIMEOUT && wait) {
        LogLine("another run of the uninstaller is under way: waiting for it to end");
        waited = WaitForNamedMutex(lock, INFINITE);
    }
    lock_held = Taken(waited);
    if (lock_held) return LockTaken;
    CloseNamedMutex(lock);
    lock = nullptr;
    return waited == WAIT_TIMEOUT ? LockHeldElsewhere : LockUnavailable;
}

void ReleaseOneRunLock() {
    if (!lock) return;
    LendOneRunLock();
    CloseNamedMutex(lock);
    lock = nullptr;
}

void LendOneRunLock() {
    if (lock && lock_held) ReleaseNamedMutex(lock);
    lock_held = false;
}

void TakeBackOneRunLock(bool wait) {
    if (!lock || lock_held) return;
    lock_held = Taken(WaitForNamedMutex(lock, wait ? INFINITE : 0));
    if (!lock_held) LogLine("the lock against a second run could not be taken back: going on without it");
}
