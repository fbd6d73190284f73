// Stand-in for started programs' processes: the program is found on the
// fake file system as CreateProcessA finds it, the command line recorded
// and the outcome taken from a script; the handles are counted with the
// fake's other kernel handles, so that a test sees one never closed.
// Logged as "CreateProcessA command", "WaitForSingleObject 4294967295" and
// "CloseHandle", the calls the product makes there; failure rules on the
// start and on the waits match the program's path.
#include "system/started_process.h"

#include <deque>
#include <map>

#include "platform/host/fake_file_system.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

struct Handle {
    bool is_process;
    DWORD exit_code;
    bool ended;
    std::string program;  // what failure rules on its waits match
};

std::deque<stand_in::ProcessScript> queued;
std::map<std::string, stand_in::ProcessScript> by_program;  // upper-case canonical path
std::vector<std::string> started;
std::vector<stand_in::StartedProcess> started_processes;
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

stand_in::ProcessScript ScriptFor(const std::string& program) {
    if (!queued.empty()) {
        stand_in::ProcessScript script = queued.front();
        queued.pop_front();
        return script;
    }
    auto it = by_program.find(ProgramKey(program));
    return it == by_program.end() ? stand_in::ProcessScript() : it->second;
}

}  // namespace

bool StartProcess(char* command, bool, DWORD flags, bool inherit, const char*,
                  PROCESS_INFORMATION* info) {
    std::string line = command;
    fake::LogCall("CreateProcessA", line);
    std::string program = FindProgram(line);
    stand_in::ProcessScript script = ScriptFor(program);
    if (DWORD error = fake::InjectedFailure("CreateProcessA", program)) {
        SetLastError(error);
        return false;
    }
    started.push_back(line);
    started_processes.push_back({program, line, flags, inherit});
    if (inherit) fake::InheritHandles();
    if (script.on_run) script.on_run();
    info->hProcess = NewHandle({true, script.exit_code, false, program});
    info->hThread = NewHandle({false, 0, false, ""});
    info->dwProcessId = (DWORD)(ULONG_PTR)info->hProcess;
    info->dwThreadId = (DWORD)(ULONG_PTR)info->hThread;
    return true;
}

DWORD WaitForProcess(HANDLE process) {
    fake::LogCall("WaitForSingleObject", std::to_string(INFINITE));
    return stand_in::WaitOnProgram(process, "WaitForSingleObject");
}

bool ReadExitCode(HANDLE process, DWORD* exit_code) {
    Handle* target = Find(process);
    if (!target || !target->is_process) return false;
    *exit_code = target->ended ? target->exit_code : STILL_ACTIVE;
    return true;
}

void CloseProcessHandle(HANDLE handle) {
    fake::LogCall("CloseHandle", "");
    if (handles.erase(handle) && !fake::CloseHandleOf(handle, "process"))
        fake::CloseHandleOf(handle, "thread");
}

// Waited on, it has ended.
HANDLE InheritableOwnProcess() { return NewHandle(Handle{true, 0, true, ""}); }

namespace stand_in {

void ScriptNextProcess(const ProcessScript& script) { queued.push_back(script); }
void ScriptProcess(const std::string& program, const ProcessScript& script) {
    by_program[ProgramKey(program)] = script;
}
const std::vector<std::string>& StartedCommandLines() { return started; }
const std::vector<StartedProcess>& StartedProcesses() { return started_processes; }
int OpenProcessHandleCount() { return fake::OpenHandlesOf("process") + fake::OpenHandlesOf("thread"); }

// A wait on a started program ends with it, as it would have ended by now.
DWORD WaitOnProgram(HANDLE handle, const char* api) {
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

}  // namespace stand_in
