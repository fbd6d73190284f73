// The machine-wide lock against a second run, a named mutex.
#include "system/one_run.h"

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

// Made by a run of another account, the mutex may refuse full access: a
// wait needs only the right to synchronise.
HANDLE OpenLock() {
    char name[64];
    FormLockName(name);
    HANDLE made = CreateMutexA(nullptr, FALSE, name);
    return made ? made : OpenMutexA(SYNCHRONIZE, FALSE, name);
}

bool Taken(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

}  // namespace

OneRunLock TakeOneRunLock(bool wait) {
    ReleaseOneRunLock();
    lock = OpenLock();
    if (!lock) return LockUnavailable;
    DWORD waited = WaitForSingleObject(lock, 0);
    if (waited == WAIT_TIMEOUT && wait) {
        LogLine("another run of the uninstaller is under way: waiting for it to end");
        waited = WaitForSingleObject(lock, INFINITE);
    }
    lock_held = Taken(waited);
    if (lock_held) return LockTaken;
    CloseHandle(lock);
    lock = nullptr;
    return waited == WAIT_TIMEOUT ? LockHeldElsewhere : LockUnavailable;
}

void ReleaseOneRunLock() {
    if (!lock) return;
    LendOneRunLock();
    CloseHandle(lock);
    lock = nullptr;
}

void LendOneRunLock() {
    if (lock && lock_held) ReleaseMutex(lock);
    lock_held = false;
}

void TakeBackOneRunLock(bool wait) {
    if (!lock || lock_held) return;
    lock_held = Taken(WaitForSingleObject(lock, wait ? INFINITE : 0));
    if (!lock_held) LogLine("the lock against a second run could not be taken back: going on without it");
}
