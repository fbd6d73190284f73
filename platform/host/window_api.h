// Top-level windows of other programs (user32): finding them by class and
// sending them messages.
#pragma once

#include "win32_types.h"

#define WM_CLOSE 0x0010

HWND FindWindowA(LPCSTR class_name, LPCSTR window_name);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
HWND GetDesktopWindow(void);
