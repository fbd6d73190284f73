// Stand-in for the thread's message queue: messages a test leaves there
// (as another program or the system would) wait until the program takes
// them, and are recorded as handled. Logged as "DispatchMessageA message"
// and "MsgWaitForMultipleObjects count milliseconds", the calls the
// product makes there, so that the one failure table fails the wait.
#include "system/thread_messages.h"

#include <deque>

#include "tests/stand_ins/stand_ins.h"

namespace {

std::deque<MSG> waiting;
std::vector<MSG> dispatched;

fake::ResetHook thread_messages_reset([] {
    waiting.clear();
    dispatched.clear();
});

}  // namespace

bool TakeThreadMessage(MSG* message) {
    if (waiting.empty()) return false;
    *message = waiting.front();
    waiting.pop_front();
    return true;
}

void HandleThreadMessage(const MSG* message) {
    fake::LogCall("DispatchMessageA", std::to_string(message->message));
    dispatched.push_back(*message);
}

void PostQuitAgain(int exit_code) { stand_in::QueueThreadMessage(nullptr, WM_QUIT, exit_code, 0); }

// A waiting message wakes it first; without a handle, the time-out passes
// on the fake clock. Only the first handle is waited on.
DWORD WaitForHandleOrMessage(DWORD count, HANDLE* handles, DWORD milliseconds) {
    std::string subject = std::to_string(count) + " " + std::to_string(milliseconds);
    fake::LogCall("MsgWaitForMultipleObjects", subject);
    if (DWORD error = fake::InjectedFailure("MsgWaitForMultipleObjects", subject)) {
        SetLastError(error);
        return WAIT_FAILED;
    }
    if (!waiting.empty()) return WAIT_OBJECT_0 + count;
    if (count) return stand_in::WaitOnProgram(handles[0], "MsgWaitForMultipleObjects");
    fake::PassTime(milliseconds);
    return WAIT_TIMEOUT;
}

namespace stand_in {

void QueueThreadMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    waiting.push_back({window, message, wparam, lparam, 0, {0, 0}});
}

size_t WaitingMessageCount() { return waiting.size(); }
const std::vector<MSG>& DispatchedMessages() { return dispatched; }

}  // namespace stand_in
