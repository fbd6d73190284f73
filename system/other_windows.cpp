// Other programs' windows, asked of user32.
#include "system/other_windows.h"

HWND FindWindowOfClass(const char* window_class) { return FindWindowA(window_class, nullptr); }

void AskWindowToClose(HWND window) { SendMessageA(window, WM_CLOSE, 0, 0); }
