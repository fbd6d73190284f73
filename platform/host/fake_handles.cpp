// Kernel handles of kinds other than processes and threads (tokens): each
// kind registers a closer that CloseHandle asks in turn.
#include "fake_world.h"

namespace {

std::vector<std::function<bool(HANDLE)>>& Closers() {
    static std::vector<std::function<bool(HANDLE)>> closers;
    return closers;
}

}  // namespace

namespace fake {

HandleCloser::HandleCloser(std::function<bool(HANDLE)> close) { Closers().push_back(close); }

bool CloseOtherHandle(HANDLE handle) {
    for (auto& close : Closers())
        if (close(handle)) return true;
    return false;
}

}  // namespace fake
