// Waiting for started programs and pausing between progress updates. While
// the progress dialog exists, its thread's waiting messages are handled
// meanwhile, so that the dialog keeps answering (Windows ghosts a window
// that has not answered for five seconds); otherwise the waits are plain.
#pragma once

#include "platform/platform.h"

// The dialog that must keep answering, or null (the start): plain waits.
void SetAnsweringDialog(HWND dialog);

// Handles the messages waiting for the thread, when a dialog is set.
void HandleWaitingMessages();

// Waits for a started program without a time limit. The result is
// WaitForSingleObject's: WAIT_OBJECT_0 once the program has ended.
DWORD WaitForProgram(HANDLE process);

// Lets this much time pass, handling messages meanwhile when a dialog is set.
void PauseAnswering(DWORD milliseconds);
