// Naming a window's program through GetWindowThreadProcessId and the tool
// help's process list.
#include "removal/window_program.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "system/run_time_functions.h"

namespace {

struct ToolHelp {
    decltype(&::CreateToolhelp32Snapshot) CreateToolhelp32Snapshot;
    decltype(&::Process32First) Process32First;
    decltype(&::Process32Next) Process32Next;
};

bool FindToolHelp(ToolHelp* help) {
    return FindFunctions(LoadedLibrary("kernel32.dll"),
                         "CreateToolhelp32Snapshot\0Process32First\0Process32Next", help, sizeof *help);
}

bool ImageOf(const ToolHelp& help, HANDLE snapshot, DWORD process_id, char* path) {
    PROCESSENTRY32 entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = help.Process32First(snapshot, &entry); more; more = help.Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID != process_id) continue;
        entry.szExeFile[MAX_PATH - 1] = 0;
        return MbCopy(path, PATH_BUFFER_SIZE, entry.szExeFile);
    }
    return false;
}

}  // namespace

bool WindowProgramPath(HWND window, char* path) {
    DWORD process_id = 0;
    ToolHelp help;
    if (!GetWindowThreadProcessId(window, &process_id) || !FindToolHelp(&help)) return false;
    HANDLE snapshot = help.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool found = ImageOf(help, snapshot, process_id, path);
    CloseHandle(snapshot);
    return found;
}
