// The fake's table of open kernel handles (searches, files, and those the
// stand-ins hand out), so that a test can see a handle that was never
// closed, and the closers (files) that CloseHandle asks in turn.
#include "fake_world.h"

#include <map>

namespace {

std::map<void*, std::string> open_handles;
uintptr_t next_handle;

fake::ResetHook handles_reset([] {
    open_handles.clear();
    next_handle = 0x7000;
});

std::vector<std::function<bool(HANDLE)>>& Closers() {
    static std::vector<std::function<bool(HANDLE)>> closers;
    return closers;
}

bool CloseOfItsKind(HANDLE handle) {
    for (auto& close : Closers())
        if (close(handle)) return true;
    return false;
}

}  // namespace

namespace fake {

HandleCloser::HandleCloser(std::function<bool(HANDLE)> close) { Closers().push_back(close); }

int OpenHandleCount() { return (int)open_handles.size(); }

void* OpenHandle(const char* kind) {
    void* handle = (void*)(next_handle += 4);
    open_handles[handle] = kind;
    return handle;
}


// Closes only a handle of the given kind, as each Win32 close function
// accepts only its own.
bool CloseHandleOf(void* handle, const char* kind) {
    auto it = open_handles.find(handle);
    if (it == open_handles.end() || it->second != kind) return false;
    open_handles.erase(it);
    return true;
}

}  // namespace fake

namespace fake {
int OpenHandlesOf(const char* kind) {
    int count = 0;
    for (auto& entry : open_handles) count += entry.second == kind;
    return count;
}
}  // namespace fake

// Each kind's closer in turn; an injected failure still closes the handle.
BOOL CloseHandle(HANDLE handle) {
    fake::LogCall("CloseHandle", "");
    bool known = CloseOfItsKind(handle);
    DWORD error = fake::InjectedFailure("CloseHandle", "");
    if (!error && !known) error = ERROR_INVALID_HANDLE;
    if (error) SetLastError(error);
    return error == 0;
}
