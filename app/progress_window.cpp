// The progress dialog's window calls, asked of user32.
#include "app/progress_window.h"

#include "app/progress_dialog.h"

HWND OpenProgressWindow(HINSTANCE instance, DLGPROC proc) {
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, proc, 0);
}

void CloseProgressWindow(HWND dialog) { DestroyWindow(dialog); }

void ShowProgressWindow(HWND dialog, bool shown) { ShowWindow(dialog, shown ? SW_SHOW : SW_HIDE); }

bool WindowRectangle(HWND window, RECT* rect) { return GetWindowRect(window, rect) != FALSE; }

void MoveProgressWindow(HWND dialog, int x, int y) {
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE);
}

void SetProgressWindowTitle(HWND dialog, const char* text) {
    SendMessageA(dialog, WM_SETTEXT, 0, (LPARAM)text);
}

void SetStatusLine(HWND dialog, const char* text, bool right_to_left) {
    HWND control = GetDlgItem(dialog, IDC_STATUS_TEXT);
    if (control) {
        LONG style = GetWindowLongA(control, GWL_STYLE);
        LONG ex_style = GetWindowLongA(control, GWL_EXSTYLE);
        SetReadingOrder(right_to_left, &style, &ex_style);
        SetWindowLongA(control, GWL_STYLE, style);
        SetWindowLongA(control, GWL_EXSTYLE, ex_style);
    }
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, text);
}

void SetBarPosition(HWND dialog, int percent) {
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    if (bar) SendMessageA(bar, PBM_SETPOS, (WPARAM)percent, 0);
}

void SendProgressCommand(HWND dialog, WPARAM command, LPARAM argument) {
    SendMessageA(dialog, WM_COMMAND, command, argument);
}
