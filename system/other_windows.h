// Other programs' top-level windows, found by class and asked to close: the
// two calls behind closing the support applets. The unit tests put a
// stand-in behind this header; the Wine scenarios close real windows.
#pragma once

#include "platform/platform.h"

// The first open top-level window of the class, or null.
HWND FindWindowOfClass(const char* window_class);

// Sends WM_CLOSE and returns once the window has handled it.
void AskWindowToClose(HWND window);
