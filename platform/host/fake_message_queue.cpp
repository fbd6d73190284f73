// The thread's message queue: messages a test puts there (as another
// program or the system would) wait until the program reads them, and
// DispatchMessageA records them as handled.
#include "fake_world.h"

#include <deque>

namespace {

std::deque<MSG> waiting;
std::vector<MSG> dispatched;

fake::ResetHook message_queue_reset([] {
    waiting.clear();
    dispatched.clear();
});

}  // namespace

namespace fake {

void QueueThreadMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    waiting.push_back({window, message, wparam, lparam, 0, {0, 0}});
}

size_t WaitingMessageCount() { return waiting.size(); }
const std::vector<MSG>& DispatchedMessages() { return dispatched; }

}  // namespace fake

// Only the whole queue is read: the program asks for no filter.
BOOL PeekMessageA(LPMSG message, HWND, UINT, UINT, UINT remove) {
    fake::LogCall("PeekMessageA", "");
    if (waiting.empty()) return FALSE;
    *message = waiting.front();
    if (remove & PM_REMOVE) waiting.pop_front();
    return TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

// The window's procedure is the program's own seam's business: the
// message is recorded as handled.
LRESULT DispatchMessageA(const MSG* message) {
    fake::LogCall("DispatchMessageA", std::to_string(message->message));
    dispatched.push_back(*message);
    return 0;
}

void PostQuitMessage(int exit_code) {
    fake::LogCall("PostQuitMessage", std::to_string(exit_code));
    fake::QueueThreadMessage(nullptr, WM_QUIT, (WPARAM)exit_code, 0);
}
