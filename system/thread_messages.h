// The thread's message queue: the messages waiting for the program's one
// thread, handed on to their windows, and the wait that wakes for them as
// well as for a handle. The unit tests put a stand-in behind this header;
// the Wine scenarios keep a real dialog answering.
#pragma once

#include "platform/platform.h"

// Takes the next waiting message off the queue; false when none waits.
// Messages sent from other threads are answered meanwhile.
bool TakeThreadMessage(MSG* message);

// Hands the message on to its window's procedure.
void HandleThreadMessage(const MSG* message);

// Posts WM_QUIT again, for the thread's own loop.
void PostQuitAgain(int exit_code);

// Waits for the first of `count` handles (none: the time alone) or for a
// message: WAIT_OBJECT_0 + count means that a message arrived.
DWORD WaitForHandleOrMessage(DWORD count, HANDLE* handles, DWORD milliseconds);
