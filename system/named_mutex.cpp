// The named mutex behind the one-run lock, asked of kernel32.
#include "system/named_mutex.h"

HANDLE OpenNamedMutex(const char* name) {
    HANDLE made = CreateMutexA(nullptr, FALSE, name);
    return made ? made : OpenMutexA(SYNCHRONIZE, FALSE, name);
}

DWORD WaitForNamedMutex(HANDLE mutex, DWORD milliseconds) {
    return WaitForSingleObject(mutex, milliseconds);
}

void ReleaseNamedMutex(HANDLE mutex) { ReleaseMutex(mutex); }

void CloseNamedMutex(HANDLE mutex) { CloseHandle(mutex); }
