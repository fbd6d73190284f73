// Started programs: CreateProcessA, a wait without a time limit, the exit
// code for the run log, and both handles closed whatever happened.
#include "removal/started_programs.h"

#include "system/program_wait.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "system/started_process.h"
#include "system/windows_family.h"

namespace {

// No console window for a console program; Windows 95, 98 and Me do not
// support the flag, so there the program starts without it.
DWORD NoWindowFlagForThisWindows() {
    return IsWin9xFamily(GetWindowsFamily()) ? 0 : CREATE_NO_WINDOW;
}

bool Start(char* command, ProgramStart how, PROCESS_INFORMATION* process, bool inherit = false,
           const char* directory = nullptr) {
    DWORD flags = how == WithoutWindow ? NoWindowFlagForThisWindows() : 0;
    return StartProcess(command, how == WithOwnStartupInfo, flags, inherit, directory, process);
}

ProgramOutcome WaitAndClose(const char* what, const char* command, const PROCESS_INFORMATION& process,
                            DWORD* exit_code) {
    DWORD waited = WaitForProgram(process.hProcess);
    DWORD error = waited == WAIT_OBJECT_0 ? 0 : GetLastError();
    *exit_code = 0;
    if (waited == WAIT_OBJECT_0) ReadExitCode(process.hProcess, exit_code);
    CloseProcessHandle(process.hProcess);
    CloseProcessHandle(process.hThread);
    LogProgram(what, command, waited == WAIT_OBJECT_0, *exit_code, error);
    return waited == WAIT_OBJECT_0 ? ProgramEnded : ProgramWaitFailed;
}

}  // namespace

ProgramOutcome StartProgramAndWait(const char* what, char* command, ProgramStart how, DWORD* exit_code) {
    DWORD ignored;
    if (PreviewRun) {
        LogProgramPreviewed(what, command);
        return ProgramPreviewed;
    }
    PROCESS_INFORMATION process;
    if (!Start(command, how, &process)) {
        LogProgram(what, command, false, 0, GetLastError());
        return ProgramNotStarted;
    }
    return WaitAndClose(what, command, process, exit_code ? exit_code : &ignored);
}

bool StartProgramAndLeave(const char* what, char* command, const char* directory) {
    if (PreviewRun) {
        LogProgramPreviewed(what, command);
        return false;
    }
    PROCESS_INFORMATION process;
    if (!Start(command, WithoutWindow, &process, true, directory)) {
        LogProgram(what, command, false, 0, GetLastError());
        return false;
    }
    CloseProcessHandle(process.hProcess);
    CloseProcessHandle(process.hThread);
    LogLine("%s %s: started, left running", what, command);
    return true;
}
