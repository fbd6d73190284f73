// Waits that keep the progress dialog answering: they wake for the thread's
// messages as well as for the program's end or the pause's, and handle them.
#include "system/program_wait.h"

#include "system/started_process.h"
#include "system/thread_messages.h"

namespace {

HWND answering_dialog;

// Handles every waiting message. False on WM_QUIT, which is posted again
// for the thread's own loop: the caller then waits plainly.
bool DrainMessages() {
    MSG message;
    while (TakeThreadMessage(&message)) {
        if (message.message == WM_QUIT) {
            PostQuitAgain((int)message.wParam);
            return false;
        }
        HandleThreadMessage(&message);
    }
    return true;
}

// WAIT_OBJECT_0 + count means that a message arrived.
DWORD WaitWithMessages(DWORD count, HANDLE* handles, DWORD milliseconds) {
    if (!DrainMessages()) return WAIT_FAILED;
    return WaitForHandleOrMessage(count, handles, milliseconds);
}

}  // namespace

void SetAnsweringDialog(HWND dialog) { answering_dialog = dialog; }

void HandleWaitingMessages() {
    if (answering_dialog) DrainMessages();
}

// A message wait that fails (WM_QUIT, or a system refusing it) becomes a
// plain wait, so that the program is still waited for.
DWORD WaitForProgram(HANDLE process) {
    DWORD woke = WAIT_FAILED;
    if (answering_dialog) {
        do woke = WaitWithMessages(1, &process, INFINITE);
        while (woke == WAIT_OBJECT_0 + 1);
    }
    return woke == WAIT_FAILED ? WaitForProcess(process) : woke;
}

void PauseAnswering(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (DWORD passed = 0; passed < milliseconds; passed = GetTickCount() - start) {
        if (!answering_dialog ||
            WaitWithMessages(0, nullptr, milliseconds - passed) == WAIT_FAILED) {
            Sleep(milliseconds - passed);
            return;
        }
    }
}
