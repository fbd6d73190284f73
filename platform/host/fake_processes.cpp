// Test-scripted started programs: CreateProcessA records the command line
// and takes its outcome from a script; the handles it hands out are counted
// so that a test can see one that was never closed.
#include "fake_world.h"

#include <deque>
#include <map>
#include <string.h>

namespace {

struct Handle {
    bool is_process;
    DWORD exit_code;
    bool wait_fails;
    bool ended;
};

std::deque<fake::ProcessScript> scripts;
std::vector<std::string> started;
std::map<ULONG_PTR, Handle> handles;
ULONG_PTR next_handle;

fake::ResetHook processes_reset([] {
    scripts.clear();
    started.clear();
    handles.clear();
    next_handle = 0x7000;
});

HANDLE NewHandle(const Handle& handle) {
    ULONG_PTR value = next_handle;
    next_handle += 4;
    handles[value] = handle;
    return (HANDLE)value;
}

fake::ProcessScript NextScript() {
    if (scripts.empty()) return fake::ProcessScript();
    fake::ProcessScript script = scripts.front();
    scripts.pop_front();
    return script;
}

Handle* Find(HANDLE handle) {
    auto it = handles.find((ULONG_PTR)handle);
    return it == handles.end() ? nullptr : &it->second;
}

}  // namespace

namespace fake {
void ScriptNextProcess(const ProcessScript& script) { scripts.push_back(script); }
const std::vector<std::string>& StartedCommandLines() { return started; }
int OpenProcessHandleCount() { return (int)handles.size(); }
}  // namespace fake

void GetStartupInfoA(LPSTARTUPINFOA info) {
    DWORD size = info->cb;
    memset(info, 0, sizeof *info);
    info->cb = size;
}

BOOL CreateProcessA(LPCSTR, LPSTR command_line, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                    BOOL, DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION info) {
    std::string line = command_line ? command_line : "";
    fake::LogCall("CreateProcessA", line);
    fake::ProcessScript script = NextScript();
    DWORD error = fake::InjectedFailure("CreateProcessA", line);
    if (!error && !script.starts) error = script.start_error;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    started.push_back(line);
    if (script.on_run) script.on_run();
    info->hProcess = NewHandle({true, script.exit_code, script.wait_fails, false});
    info->hThread = NewHandle({false, 0, false, false});
    info->dwProcessId = (DWORD)(ULONG_PTR)info->hProcess;
    info->dwThreadId = (DWORD)(ULONG_PTR)info->hThread;
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    fake::LogCall("WaitForSingleObject", std::to_string(milliseconds));
    Handle* target = Find(handle);
    DWORD error = fake::InjectedFailure("WaitForSingleObject", "");
    if (!error && !target) error = ERROR_INVALID_HANDLE;
    if (!error && target->wait_fails) error = ERROR_ACCESS_DENIED;
    if (error) {
        SetLastError(error);
        return WAIT_FAILED;
    }
    target->ended = true;
    return WAIT_OBJECT_0;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exit_code) {
    fake::LogCall("GetExitCodeProcess", "");
    Handle* target = Find(process);
    if (!target || !target->is_process) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *exit_code = target->ended ? target->exit_code : STILL_ACTIVE;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    fake::LogCall("CloseHandle", "");
    bool known = handles.erase((ULONG_PTR)handle) != 0 || fake::CloseOtherHandle(handle);
    DWORD error = fake::InjectedFailure("CloseHandle", "");
    if (!error && !known) error = ERROR_INVALID_HANDLE;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}
