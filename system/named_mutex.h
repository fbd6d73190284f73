// The named mutex behind the one-run lock: made or opened by name, waited
// for, released and closed. The unit tests put a stand-in behind this
// header; the Wine scenarios run two real runs against each other.
#pragma once

#include "platform/platform.h"

// Made, or else (a run of another account made it and refuses full
// access) opened with only the right to wait for it; null when neither.
HANDLE OpenNamedMutex(const char* name);

// WaitForSingleObject's result: WAIT_OBJECT_0 or WAIT_ABANDONED once this
// process owns it, WAIT_TIMEOUT while another holds it.
DWORD WaitForNamedMutex(HANDLE mutex, DWORD milliseconds);

void ReleaseNamedMutex(HANDLE mutex);
void CloseNamedMutex(HANDLE mutex);
