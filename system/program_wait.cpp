// Waits that keep the progress dialog answering: they wake for the thread's
// messages as well as for the program's end or the pause's, and handle them.
#include "system/program_wait.h"

namespace {

HWND answering_dialog;

// The input classes that Windows 95 and NT 4 know. Today's QS_ALLINPUT
// adds raw, touch and pointer input, which a system before XP refuses as
// an invalid parameter.
const DWORD kWakeMask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER |
                        QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;

// Handles every waiting message; messages sent from other threads are
// answered within PeekMessageA. False on WM_QUIT, which is posted again
// for the thread's own loop: the caller then waits plainly.
bool DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage((int)message.wParam);
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

// WAIT_OBJECT_0 + count means that a message arrived.
DWORD WaitWithMessages(DWORD count, HANDLE* handles, DWORD milliseconds) {
    if (!DrainMessages()) return WAIT_FAILED;
    return MsgWaitForMultipleObjects(count, handles, FALSE, milliseconds, kWakeMask);
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
    return woke == WAIT_FAILED ? WaitForSingleObject(process, INFINITE) : woke;
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
