// The thread's message queue, asked of user32.
#include "system/thread_messages.h"

namespace {

// The input classes that Windows 95 and NT 4 know. Today's QS_ALLINPUT
// adds raw, touch and pointer input, which a system before XP refuses as
// an invalid parameter.
const DWORD kWakeMask = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER |
                        QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;

}  // namespace

bool TakeThreadMessage(MSG* message) {
    return PeekMessageA(message, nullptr, 0, 0, PM_REMOVE) != FALSE;
}

void HandleThreadMessage(const MSG* message) {
    TranslateMessage(message);
    DispatchMessageA(message);
}

void PostQuitAgain(int exit_code) { PostQuitMessage(exit_code); }

DWORD WaitForHandleOrMessage(DWORD count, HANDLE* handles, DWORD milliseconds) {
    return MsgWaitForMultipleObjects(count, handles, FALSE, milliseconds, kWakeMask);
}
