// A started program's process, asked of kernel32.
#include "system/started_process.h"

bool StartProcess(char* command, bool own_startup_info, DWORD flags, bool inherit,
                  const char* directory, PROCESS_INFORMATION* process) {
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;  // 68 on Windows
    if (own_startup_info) GetStartupInfoA(&startup);
    return CreateProcessA(nullptr, command, nullptr, nullptr, inherit ? TRUE : FALSE, flags,
                          nullptr, directory, &startup, process) != FALSE;
}

DWORD WaitForProcess(HANDLE process) { return WaitForSingleObject(process, INFINITE); }

bool ReadExitCode(HANDLE process, DWORD* exit_code) {
    return GetExitCodeProcess(process, exit_code) != FALSE;
}

void CloseProcessHandle(HANDLE handle) { CloseHandle(handle); }

HANDLE InheritableOwnProcess() {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE, TRUE, 0))
        return nullptr;
    return self;
}
