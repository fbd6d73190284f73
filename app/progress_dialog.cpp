// The progress dialog: centred on the desktop when it starts, then driven by
// synchronous WM_COMMAND messages from the removal sequence.
#include "app/progress_dialog.h"

#include "app/progress_window.h"
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
    if (!WindowRectangle(desktop, &d) || !WindowRectangle(dialog, &w)) return TRUE;
    int x = d.left + ((d.right - d.left) - (w.right - w.left)) / 2;
    int y = d.top + ((d.bottom - d.top) - (w.bottom - w.top)) / 2;
    MoveProgressWindow(dialog, x, y);
    return TRUE;
}

// A message id without text sets an empty title or status line.
void SetTitle(HWND dialog, UINT id) {
    char* text = LocalizedString(nullptr, id);
    SetProgressWindowTitle(dialog, text ? text : "");
    free(text);
}

void SetStatus(HWND dialog, UINT id) {
    LANGID language = 0;
    char* text = LocalizedString(nullptr, id, &language);
    SetStatusLine(dialog, text ? text : "", text && IsRightToLeftLanguage(language));
    free(text);
}

INT_PTR OnCommand(HWND dialog, WPARAM command, LPARAM argument) {
    switch (command) {
    case PROGRESS_CMD_TITLE: SetTitle(dialog, (UINT)argument); return TRUE;
    case PROGRESS_CMD_TEXT: SetStatus(dialog, (UINT)argument); return TRUE;
    case PROGRESS_CMD_POS: SetBarPosition(dialog, (int)argument); return TRUE;
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

void SetReadingOrder(bool right_to_left, LONG* style, LONG* ex_style) {
    *style = (*style & ~(LONG)SS_TYPEMASK) | (right_to_left ? SS_RIGHT : SS_LEFT);
    *ex_style = (*ex_style & ~(LONG)WS_EX_RTLREADING) | (right_to_left ? WS_EX_RTLREADING : 0);
}

void ShowProgressStep(HWND dialog, UINT message_id, int percent) {
    SendProgressCommand(dialog, PROGRESS_CMD_TEXT, (LPARAM)message_id);
    SendProgressCommand(dialog, PROGRESS_CMD_POS, (LPARAM)percent);
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
    HWND dialog = OpenProgressWindow(instance, ProgressDialogProc);
    if (!dialog) ReportTavkError(402, "Unable to create progress dialog");
    return dialog;
}
