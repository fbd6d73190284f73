// Test-scripted started programs: CreateProcessA finds the program on the
// fake file system as Windows does, records the command line and takes its
// outcome from a script; the handles it hands out are counted so that a
// test can see one that was never closed.
#include "fake_world.h"

#include <ctype.h>
#include <string.h>

#include <deque>
#include <map>

#include "fake_file_system.h"

namespace {

struct Handle {
    bool is_process;
    DWORD exit_code;
    bool ended;
    std::string program;  // what failure rules on its waits match
};

std::deque<fake::ProcessScript> queued;
std::map<std::string, fake::ProcessScript> by_program;  // upper-case canonical path
std::vector<std::string> started;
std::vector<fake::StartedProcess> started_processes;
std::map<void*, Handle> handles;

fake::ResetHook processes_reset([] {
    queued.clear();
    by_program.clear();
    started.clear();
    started_processes.clear();
    handles.clear();
});

HANDLE NewHandle(const Handle& handle) {
    void* value = fake::OpenHandle(handle.is_process ? "process" : "thread");
    handles[value] = handle;
    return value;
}

Handle* Find(HANDLE handle) {
    auto it = handles.find(handle);
    return it == handles.end() ? nullptr : &it->second;
}

std::string ProgramKey(const std::string& path) {
    std::string key = path;
    fake_fs::Canonical(path, &key);
    for (auto& c : key) c = (char)toupper((unsigned char)c);
    return key;
}

// ".exe" goes after a last component without an extension.
std::string WithExtension(const std::string& name) {
    size_t slash = name.rfind('\\');
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
    return name + ".exe";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A quoted name is taken whole; otherwise each blank ends a candidate,
// shortest first, and the first that names a file wins. Without one, the
// first word stands for the program.
std::string FindProgram(const std::string& line) {
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        return WithExtension(line.substr(1, close == std::string::npos ? close : close - 1));
    }
    for (size_t end = 0; end <= line.size(); ++end) {
        if (end < line.size() && !IsBlank(line[end])) continue;
        if (fake_fs::IsFile(WithExtension(line.substr(0, end))))
            return WithExtension(line.substr(0, end));
    }
    size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    return WithExtension(line.substr(0, end));
}

fake::ProcessScript ScriptFor(const std::string& program) {
    if (!queued.empty()) {
        fake::ProcessScript script = queued.front();
        queued.pop_front();
        return script;
    }
    auto it = by_program.find(ProgramKey(program));
    return it == by_program.end() ? fake::ProcessScript() : it->second;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

namespace fake {
void ScriptNextProcess(const ProcessScript& script) { queued.push_back(script); }
void ScriptProcess(const std::string& program, const ProcessScript& script) {
    by_program[ProgramKey(program)] = script;
}
const std::vector<std::string>& StartedCommandLines() { return started; }
const std::vector<StartedProcess>& StartedProcesses() { return started_processes; }
int OpenProcessHandleCount() { return OpenHandlesOf("process") + OpenHandlesOf("thread"); }
}  // namespace fake

// The size field is the caller's; the rest is the default start-up.
void GetStartupInfoA(LPSTARTUPINFOA info) {
    fake::LogCall("GetStartupInfoA", "");
    DWORD size = info->cb;
    memset(info, 0, sizeof *info);
    info->cb = size;
}

BOOL CreateProcessA(LPCSTR application, LPSTR command_line, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL inherit_handles, DWORD flags, LPVOID, LPCSTR,
                    LPSTARTUPINFOA, LPPROCESS_INFORMATION info) {
    std::string line = command_line ? command_line : "";
    fake::LogCall("CreateProcessA", line);
    std::string program = application ? application : FindProgram(line);
    fake::ProcessScript script = ScriptFor(program);
    if (DWORD error = fake::InjectedFailure("CreateProcessA", program)) return Fail(error);
    started.push_back(line);
    started_processes.push_back({program, line, flags, inherit_handles});
    if (inherit_handles) fake::InheritHandles();
    if (script.on_run) script.on_run();
    info->hProcess = NewHandle({true, script.exit_code, false, program});
    info->hThread = NewHandle({false, 0, false, ""});
    info->dwProcessId = (DWORD)(ULONG_PTR)info->hProcess;
    info->dwThreadId = (DWORD)(ULONG_PTR)info->hThread;
    return TRUE;
}

// A wait on a started program ends with it, as it would have ended by now.
DWORD fake::WaitOnProgram(HANDLE handle, const char* api) {
    Handle* target = Find(handle);
    DWORD error = fake::InjectedFailure(api, target ? target->program : "");
    if (!error && !target) error = ERROR_INVALID_HANDLE;
    if (error) {
        SetLastError(error);
        return WAIT_FAILED;
    }
    target->ended = true;
    return WAIT_OBJECT_0;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    fake::LogCall("WaitForSingleObject", std::to_string(milliseconds));
    return fake::WaitOnProgram(handle, "WaitForSingleObject");
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exit_code) {
    fake::LogCall("GetExitCodeProcess", "");
    Handle* target = Find(process);
    if (!target || !target->is_process) return Fail(ERROR_INVALID_HANDLE);
    *exit_code = target->ended ? target->exit_code : STILL_ACTIVE;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    fake::LogCall("CloseHandle", "");
    bool known = handles.erase(handle) != 0;
    if (known && !fake::CloseHandleOf(handle, "process")) fake::CloseHandleOf(handle, "thread");
    if (!known) known = fake::CloseOtherHandle(handle);
    DWORD error = fake::InjectedFailure("CloseHandle", "");
    if (!error && !known) error = ERROR_INVALID_HANDLE;
    if (error) return Fail(error);
    return TRUE;
}

BOOL DuplicateHandle(HANDLE, HANDLE source, HANDLE, HANDLE* target, DWORD, BOOL, DWORD) {
    fake::LogCall("DuplicateHandle", "");
    if (DWORD error = fake::InjectedFailure("DuplicateHandle", "")) return Fail(error);
    (void)source;
    *target = NewHandle(Handle{true, 0, true, ""});
    return TRUE;
}
