// The progress dialog's own window calls: made from its template, moved,
// shown, its title, status line and bar set, commands sent to its
// procedure. The dialog's decisions (app/progress_dialog.cpp) make them
// through this header; the unit tests put a stand-in behind it, and the
// Wine scenarios show the real dialog.
#pragma once

#include "platform/platform.h"

// The dialog from template IDD_PROGRESS, hidden, with no owner; null when
// it cannot be made. Its procedure has had WM_INITDIALOG when this returns.
HWND OpenProgressWindow(HINSTANCE instance, DLGPROC proc);
void CloseProgressWindow(HWND dialog);
void ShowProgressWindow(HWND dialog, bool shown);

// A window's rectangle on the screen (the dialog's or the desktop's);
// false when it cannot be had.
bool WindowRectangle(HWND window, RECT* rect);
// Moves the dialog's top-left corner there, its size unchanged.
void MoveProgressWindow(HWND dialog, int x, int y);

void SetProgressWindowTitle(HWND dialog, const char* text);
// The status line's text, read from the right edge when `right_to_left`.
void SetStatusLine(HWND dialog, const char* text, bool right_to_left);
// Nothing changes when the dialog has no bar.
void SetBarPosition(HWND dialog, int percent);

// WM_COMMAND: returns once the dialog's procedure has handled it.
void SendProgressCommand(HWND dialog, WPARAM command, LPARAM argument);
