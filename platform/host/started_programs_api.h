// Starting programs and waiting for them (kernel32), served on the host by
// test-scripted processes.
#pragma once

#include "win32_types.h"
#include "registry_api.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define STILL_ACTIVE 259u
#define CREATE_NO_WINDOW 0x08000000u
#define SYNCHRONIZE 0x00100000u

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
typedef STARTUPINFOA* LPSTARTUPINFOA;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

void GetStartupInfoA(LPSTARTUPINFOA info);
BOOL CreateProcessA(LPCSTR application, LPSTR command_line, LPSECURITY_ATTRIBUTES process_sa,
                    LPSECURITY_ATTRIBUTES thread_sa, BOOL inherit_handles, DWORD flags,
                    LPVOID environment, LPCSTR directory, LPSTARTUPINFOA startup,
                    LPPROCESS_INFORMATION info);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exit_code);
BOOL CloseHandle(HANDLE handle);
// A real handle for a process (the current one's pseudo handle included):
// a process handle of its own, waited on as an ended process.
BOOL DuplicateHandle(HANDLE source_process, HANDLE source, HANDLE target_process, HANDLE* target,
                     DWORD access, BOOL inherit, DWORD options);
