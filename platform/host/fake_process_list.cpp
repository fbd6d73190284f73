// The processes that own other programs' windows, as the tool help lists
// them: each with its id and the image path a test gives (Windows 9x gives
// the full path, NT and Wine the file name only). A snapshot is a handle
// that CloseHandle closes.
#include "fake_world.h"

#include <string.h>

#include <map>

namespace {

std::map<DWORD, std::string> processes;  // id: image path
std::map<HWND, DWORD> window_owners;
std::map<HANDLE, DWORD> snapshots;       // handle: the next entry's index

fake::ResetHook process_list_reset([] {
    processes.clear();
    window_owners.clear();
    snapshots.clear();
});

fake::HandleCloser snapshot_closer([](HANDLE handle) {
    return snapshots.erase(handle) != 0 && fake::CloseHandleOf(handle, "snapshot");
});

BOOL Entry(HANDLE snapshot, LPPROCESSENTRY32 entry, bool first) {
    auto it = snapshots.find(snapshot);
    if (it == snapshots.end() || !entry || entry->dwSize < sizeof *entry) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (first) it->second = 0;
    auto process = processes.begin();
    for (DWORD i = 0; i < it->second && process != processes.end(); ++i) ++process;
    if (process == processes.end()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    ++it->second;
    DWORD size = entry->dwSize;
    memset(entry, 0, sizeof *entry);
    entry->dwSize = size;
    entry->th32ProcessID = process->first;
    strncpy(entry->szExeFile, process->second.c_str(), MAX_PATH - 1);
    return TRUE;
}

}  // namespace

namespace fake {
void SetWindowProcess(HWND window, DWORD process_id, const std::string& image) {
    window_owners[window] = process_id;
    processes[process_id] = image;
}
}  // namespace fake

DWORD GetWindowThreadProcessId(HWND window, LPDWORD process_id) {
    fake::LogCall("GetWindowThreadProcessId", "");
    auto it = window_owners.find(window);
    if (it == window_owners.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (process_id) *process_id = it->second;
    return it->second + 1;  // the thread's id: any other number
}

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD) {
    fake::LogCall("CreateToolhelp32Snapshot", std::to_string(flags));
    if (DWORD error = fake::InjectedFailure("CreateToolhelp32Snapshot", "")) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE snapshot = fake::OpenHandle("snapshot");
    snapshots[snapshot] = 0;
    return snapshot;
}

BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) { return Entry(snapshot, entry, true); }
BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) { return Entry(snapshot, entry, false); }
