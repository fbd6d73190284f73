// A started program's process, asked of kernel32: started, waited for,
// its exit code read and its handles closed; and this process's own
// handle for another to wait on. The unit tests put a stand-in behind this
// header; the Wine scenarios start real programs.
#pragma once

#include "platform/platform.h"

// CreateProcessA with `command`, its writable command line: with this
// program's own start-up information or a default one, `flags`, this
// process's inheritable handles when `inherit`, and `directory` (null:
// this one's) as its current folder. False with the last error set.
bool StartProcess(char* command, bool own_startup_info, DWORD flags, bool inherit,
                  const char* directory, PROCESS_INFORMATION* process);

// Waits for the process to end, without a time limit: WaitForSingleObject's
// result, WAIT_OBJECT_0 once it has ended.
DWORD WaitForProcess(HANDLE process);

// The exit code of an ended process; false when it cannot be read.
bool ReadExitCode(HANDLE process, DWORD* exit_code);

void CloseProcessHandle(HANDLE handle);

// This process as another can wait for it: a real handle, inheritable,
// with only the right to wait; null when it cannot be made.
HANDLE InheritableOwnProcess();
