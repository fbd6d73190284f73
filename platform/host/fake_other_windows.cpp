// Top-level windows of other programs, each scripted to close on the nth
// WM_CLOSE it receives or never.
#include "fake_world.h"

namespace {

struct Window {
    HWND handle;
    std::string window_class;
    std::string title;
    int closes_on;  // 0: never
    int close_messages;
    bool open;
};

std::vector<Window> windows;
ULONG_PTR next_window;
const ULONG_PTR kDesktop = 0x10010;

fake::ResetHook windows_reset([] {
    windows.clear();
    next_window = 0x20020;
});

Window* Find(HWND handle) {
    for (auto& window : windows)
        if (window.handle == handle) return &window;
    return nullptr;
}

bool Matches(const Window& window, LPCSTR class_name, LPCSTR title) {
    if (!window.open) return false;
    if (class_name && !fake::SameName(window.window_class, class_name)) return false;
    return !title || window.title == title;
}

// Both ways of sending end the same here: the window handles the message
// before the caller looks again.
BOOL Deliver(const char* api, HWND handle, UINT message) {
    fake::LogCall(api, std::to_string(message));
    if (DWORD error = fake::InjectedFailure(api, "")) {
        SetLastError(error);
        return FALSE;
    }
    Window* window = Find(handle);
    if (!window || !window->open) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (message != WM_CLOSE) return TRUE;
    ++window->close_messages;
    if (window->closes_on > 0 && window->close_messages >= window->closes_on)
        window->open = false;
    return TRUE;
}

}  // namespace

namespace fake {

HWND AddWindow(const std::string& window_class, int closes_on, const std::string& title) {
    HWND handle = (HWND)next_window;
    next_window += 4;
    windows.push_back({handle, window_class, title, closes_on, 0, true});
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

}  // namespace fake

HWND FindWindowA(LPCSTR class_name, LPCSTR title) {
    fake::LogCall("FindWindowA", class_name ? class_name : "");
    if (DWORD error = fake::InjectedFailure("FindWindowA", class_name ? class_name : "")) {
        SetLastError(error);
        return nullptr;
    }
    for (auto& window : windows)
        if (Matches(window, class_name, title)) return window.handle;
    return nullptr;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (fake::IsOwnWindow(window)) return fake::SendToOwnWindow(window, message, wparam, lparam);
    Deliver("SendMessageA", window, message);
    return 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM, LPARAM) {
    return Deliver("PostMessageA", window, message);
}

HWND GetDesktopWindow(void) {
    fake::LogCall("GetDesktopWindow", "");
    return fake::InjectedFailure("GetDesktopWindow", "") ? nullptr : (HWND)kDesktop;
}
