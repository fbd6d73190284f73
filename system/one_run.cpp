// The machine-wide lock against a second run, a named mutex.
#include "system/one_run.h"

#include "system/run_log.h"
#include "system/windows_family.h"

namespace {

HANDLE lock = nullptr;

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
    if (Taken(waited)) return LockTaken;
    CloseHandle(lock);
    lock = nullptr;
    return waited == WAIT_TIMEOUT ? LockHeldElsewhere : LockUnavailable;
}

void ReleaseOneRunLock() {
    if (!lock) return;
    ReleaseMutex(lock);
    CloseHandle(lock);
    lock = nullptr;
}
