// Stand-in for other programs' top-level windows: each closes on the nth
// WM_CLOSE it receives, or never. Logged as "FindWindowA class" and
// "SendMessageA 16", the calls the product makes there, so that the one
// failure table fails them by those names.
#include "system/other_windows.h"

#include "tests/stand_ins/stand_ins.h"

namespace {

struct Window {
    HWND handle;
    std::string window_class;
    int closes_on;  // 0: never
    int close_messages;
    bool open;
};

std::vector<Window> windows;
ULONG_PTR next_window;

fake::ResetHook windows_reset([] {
    windows.clear();
    next_window = 0x20020;
});

Window* Find(HWND handle) {
    for (auto& window : windows)
        if (window.handle == handle) return &window;
    return nullptr;
}

}  // namespace

HWND FindWindowOfClass(const char* window_class) {
    fake::LogCall("FindWindowA", window_class);
    if (DWORD error = fake::InjectedFailure("FindWindowA", window_class)) {
        SetLastError(error);
        return nullptr;
    }
    for (auto& window : windows)
        if (window.open && fake::SameName(window.window_class, window_class)) return window.handle;
    return nullptr;
}

// A window that is gone, or a failed send, handles nothing.
void AskWindowToClose(HWND handle) {
    fake::LogCall("SendMessageA", std::to_string(WM_CLOSE));
    Window* window = Find(handle);
    if (fake::InjectedFailure("SendMessageA", "") || !window || !window->open) return;
    ++window->close_messages;
    if (window->closes_on > 0 && window->close_messages >= window->closes_on) window->open = false;
}

namespace stand_in {

HWND AddWindow(const std::string& window_class, int closes_on) {
    HWND handle = (HWND)next_window;
    next_window += 4;
    windows.push_back({handle, window_class, closes_on, 0, true});
    return handle;
}

int CloseMessagesReceived(HWND handle) {
    Window* window = Find(handle);
    return window ? window->close_messages : -1;
}

bool WindowOpen(HWND handle) {
    Window* window = Find(handle);
    return window && window->open;
}

}  // namespace stand_in
