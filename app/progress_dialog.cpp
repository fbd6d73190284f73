// The progress dialog: centred on the desktop when it starts, then driven by
// synchronous WM_COMMAND messages from the removal sequence.
#include "app/progress_dialog.h"

#include "messages/error_report.h"
#include "messages/localized_string.h"
#include "messages/reading_order.h"
#include "system/run_time_functions.h"

namespace {

// Puts the dialog in the middle of the desktop, its size unchanged.
BOOL CentreOnDesktop(HWND dialog) {
    HWND desktop = GetDesktopWindow();
    if (!desktop) {
        ReportTavkError(2884, "GetDesktopWindow() failed");
        return FALSE;
    }
    RECT d, w;
    // Without both rectangles there is nothing to centre by: leave it.
    if (!GetWindowRect(desktop, &d) || !GetWindowRect(dialog, &w)) return TRUE;
    int x = d.left + ((d.right - d.left) - (w.right - w.left)) / 2;
    int y = d.top + ((d.bottom - d.top) - (w.bottom - w.top)) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE);
    return TRUE;
}

// A message id without text sets an empty title or status line.
void SetTitle(HWND dialog, UINT id) {
    char* text = LocalizedString(nullptr, id);
    SendMessageA(dialog, WM_SETTEXT, 0, (LPARAM)(text ? text : ""));
    free(text);
}

// An Arabic or Hebrew line reads right to left from the right edge; any
// other goes back to left to right, as the template has it.
void SetReadingOrder(HWND control, bool right_to_left) {
    LONG style = GetWindowLongA(control, GWL_STYLE) & ~(LONG)SS_TYPEMASK;
    LONG ex_style = GetWindowLongA(control, GWL_EXSTYLE) & ~(LONG)WS_EX_RTLREADING;
    SetWindowLongA(control, GWL_STYLE, style | (right_to_left ? SS_RIGHT : SS_LEFT));
    SetWindowLongA(control, GWL_EXSTYLE, ex_style | (right_to_left ? WS_EX_RTLREADING : 0));
}

void SetStatus(HWND dialog, UINT id) {
    LANGID language = 0;
    char* text = LocalizedString(nullptr, id, &language);
    HWND control = GetDlgItem(dialog, IDC_STATUS_TEXT);
    if (control) SetReadingOrder(control, text && IsRightToLeftLanguage(language));
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, text ? text : "");
    free(text);
}

void SetPosition(HWND dialog, LPARAM percent) {
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    if (bar) SendMessageA(bar, PBM_SETPOS, (WPARAM)percent, 0);
}

INT_PTR OnCommand(HWND dialog, WPARAM command, LPARAM argument) {
    switch (command) {
    case PROGRESS_CMD_TITLE: SetTitle(dialog, (UINT)argument); return TRUE;
    case PROGRESS_CMD_TEXT: SetStatus(dialog, (UINT)argument); return TRUE;
    case PROGRESS_CMD_POS: SetPosition(dialog, argument); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: return CentreOnDesktop(dialog);
    case WM_DESTROY: return TRUE;
    // The removal cannot stop halfway; left to the dialog manager, Close
    // would become IDCANCEL, which is the bar's own command code.
    case WM_CLOSE: return TRUE;
    case WM_COMMAND: return OnCommand(dialog, wparam, lparam);
    default: return FALSE;
    }
}

void ShowProgressStep(HWND dialog, UINT message_id, int percent) {
    SendMessageA(dialog, WM_COMMAND, PROGRESS_CMD_TEXT, (LPARAM)message_id);
    SendMessageA(dialog, WM_COMMAND, PROGRESS_CMD_POS, (LPARAM)percent);
}

namespace {

typedef decltype(&InitCommonControlsEx) InitCommonControlsExFn;

// Common Controls 6, which the manifest asks for, registers its classes
// only when asked by name: InitCommonControls is documented to do nothing
// there. The first Windows 95 and NT 4 lack InitCommonControlsEx.
void RegisterProgressBarClass() {
    InitCommonControlsExFn init_ex =
        LoadedFunction<InitCommonControlsExFn>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
    if (!init_ex || !init_ex(&classes)) InitCommonControls();
}

}  // namespace

HWND CreateProgressDialog(HINSTANCE instance) {
    RegisterProgressBarClass();
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr,
                                     ProgressDialogProc, 0);
    if (!dialog) ReportTavkError(402, "Unable to create progress dialog");
    return dialog;
}
