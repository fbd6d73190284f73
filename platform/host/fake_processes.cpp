// Fake started programs: CreateProcessA finds the program on the fake file
// system by Windows' rules, records the command line and plays the test's
// script (whether it starts, what it does, its exit code, whether the wait
// fails); process and thread handles are counted until closed.
#include <string.h>

#include <map>

#include "fake_files.h"
#include "fake_world.h"

namespace {

struct Running {
    DWORD exit_code;
    bool wait_fails;
};

std::map<std::string, fake::ProcessScript> scripts;  // by canonical upper-case path
std::vector<fake::StartedProcess> started;
std::map<void*, Running> processes;

fake::ResetHook processes_reset([] {
    scripts.clear();
    started.clear();
    processes.clear();
});

std::string ScriptKey(const std::string& path) {
    std::string canonical = path;
    fake_fs::Canonical(path, &canonical);
    for (auto& c : canonical) c = (char)toupper((unsigned char)c);
    return canonical;
}

// ".exe" goes after a last component without an extension.
std::string WithExtension(const std::string& name) {
    size_t slash = name.rfind('\\');
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
    return name + ".exe";
}

// A quoted name is taken whole; otherwise each blank ends a candidate,
// shortest first, and the first that names a file wins.
bool FindProgram(const std::string& line, std::string* program) {
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        *program = WithExtension(line.substr(1, close == std::string::npos ? std::string::npos
                                                                             : close - 1));
        return fake_fs::IsFile(*program);
    }
    for (size_t end = 0; end <= line.size(); ++end) {
        if (end < line.size() && line[end] != ' ' && line[end] != '\t') continue;
        *program = WithExtension(line.substr(0, end));
        if (fake_fs::IsFile(*program)) return true;
    }
    return false;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

DWORD WaitFailed(DWORD error) {
    SetLastError(error);
    return WAIT_FAILED;
}

}  // namespace

namespace fake {

void ScriptProcess(const std::string& program, const ProcessScript& script) {
    scripts[ScriptKey(program)] = script;
}

const std::vector<StartedProcess>& StartedProcesses() { return started; }

}  // namespace fake

BOOL CreateProcessA(LPCSTR application, LPSTR command_line, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL inherit_handles, DWORD flags, LPVOID, LPCSTR,
                    LPSTARTUPINFOA startup, LPPROCESS_INFORMATION info) {
    std::string line = command_line ? command_line : "";
    fake::LogCall("CreateProcessA", line);
    if (DWORD error = fake::InjectedFailure("CreateProcessA", line)) return Fail(error);
    std::string program = application ? application : "";
    if (application ? !fake_fs::IsFile(program) : !FindProgram(line, &program))
        return Fail(ERROR_FILE_NOT_FOUND);
    fake::ProcessScript script;
    auto it = scripts.find(ScriptKey(program));
    if (it != scripts.end()) script = it->second;
    if (!script.starts) return Fail(script.start_error);
    started.push_back({program, line, flags, startup ? startup->cb : 0, inherit_handles});
    if (script.run) script.run(line);
    memset(info, 0, sizeof *info);
    info->hProcess = fake::OpenHandle("process");
    info->hThread = fake::OpenHandle("thread");
    info->dwProcessId = (DWORD)started.size() * 4;
    info->dwThreadId = info->dwProcessId + 2;
    processes[info->hProcess] = {script.exit_code, script.wait_fails};
    return TRUE;
}

void GetStartupInfoA(LPSTARTUPINFOA startup) {
    fake::LogCall("GetStartupInfoA", "");
    memset(startup, 0, sizeof *startup);
    startup->cb = sizeof *startup;
    startup->dwFlags = STARTF_USESHOWWINDOW;
    startup->wShowWindow = 1;  // SW_SHOWNORMAL
}

DWORD WaitForSingleObject(HANDLE handle, DWORD) {
    fake::LogCall("WaitForSingleObject", "");
    auto it = processes.find(handle);
    if (it == processes.end()) return WaitFailed(ERROR_INVALID_HANDLE);
    if (DWORD error = fake::InjectedFailure("WaitForSingleObject", "")) return WaitFailed(error);
    if (it->second.wait_fails) return WaitFailed(ERROR_ACCESS_DENIED);
    return WAIT_OBJECT_0;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exit_code) {
    auto it = processes.find(process);
    if (it == processes.end()) return Fail(ERROR_INVALID_HANDLE);
    *exit_code = it->second.exit_code;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    fake::LogCall("CloseHandle", "");
    if (fake::CloseHandleOf(handle, "process")) {
        processes.erase(handle);
        return TRUE;
    }
    if (fake::CloseHandleOf(handle, "thread")) return TRUE;
    return Fail(ERROR_INVALID_HANDLE);
}
