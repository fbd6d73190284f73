// CloseHandle for every kind of fake kernel handle: each kind registers a
// closer that releases the handle when it is one of its own.
#include "fake_world.h"

namespace {

std::vector<std::function<bool(HANDLE)>>& Closers() {
    static std::vector<std::function<bool(HANDLE)>> closers;
    return closers;
}

}  // namespace

namespace fake {
HandleCloser::HandleCloser(std::function<bool(HANDLE)> close) { Closers().push_back(close); }
}  // namespace fake

// An injected failure still releases the handle, so that a test of a failed
// close can also check that nothing is left open.
BOOL CloseHandle(HANDLE handle) {
    std::string subject = std::to_string((ULONG_PTR)handle);
    fake::LogCall("CloseHandle", subject);
    DWORD injected = fake::InjectedFailure("CloseHandle", subject);
    bool closed = false;
    for (auto& close : Closers())
        if (!closed && close(handle)) closed = true;
    DWORD error = injected ? injected : (closed ? 0 : ERROR_INVALID_HANDLE);
    if (error) SetLastError(error);
    return error == 0;
}
