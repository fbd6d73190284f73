// Stand-in for the progress dialog's window: each dialog keeps what was
// set on it, its procedure gets WM_INITDIALOG, WM_COMMAND and WM_DESTROY
// as Windows delivers them, and the calls are logged under the names of
// the product's own ("CreateDialogParamA 101", "SendMessageA #32770\0
// 273", "ShowWindow #32770\0 5", "GetWindowRect desktop", "GetDlgItem
// #32770\0\201" ...), so that the one failure table fails them by those.
#include "app/progress_window.h"

#include <map>

#include "app/progress_dialog.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kDialog[] = "#32770\\0";
std::map<HWND, stand_in::ProgressWindow> dialogs;
std::map<HWND, DLGPROC> procedures;
std::vector<stand_in::ProgressCommand> commands;
ULONG_PTR next_dialog;
RECT desktop;

fake::ResetHook progress_window_reset([] {
    dialogs.clear();
    procedures.clear();
    commands.clear();
    next_dialog = 0x40000;
    desktop = {0, 0, 1024, 768};
});

// Log, then any injected failure, for a call on the dialog.
bool Failed(const char* api, const std::string& subject) {
    fake::LogCall(api, subject);
    DWORD error = fake::InjectedFailure(api, subject);
    if (error) SetLastError(error);
    return error != 0;
}

}  // namespace

// The template's 300 x 50 dialog units in pixels for the 8-point font
// (base units 6 by 13), with the frame and the caption.
HWND OpenProgressWindow(HINSTANCE, DLGPROC proc) {
    if (Failed("CreateDialogParamA", std::to_string(IDD_PROGRESS))) return nullptr;
    HWND dialog = (HWND)next_dialog;
    next_dialog += 0x10;
    stand_in::ProgressWindow& made = dialogs[dialog];
    made.rect = {0, 0, 300 * 6 / 4 + 6, 50 * 13 / 8 + 25};
    made.status_style = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
    procedures[dialog] = proc;
    proc(dialog, WM_INITDIALOG, 0, 0);
    return dialog;
}

void CloseProgressWindow(HWND dialog) {
    if (Failed("DestroyWindow", kDialog) || !dialogs.count(dialog)) return;
    procedures[dialog](dialog, WM_DESTROY, 0, 0);
    dialogs.erase(dialog);
    procedures.erase(dialog);
}

void ShowProgressWindow(HWND dialog, bool shown) {
    fake::LogCall("ShowWindow", std::string(kDialog) + (shown ? " 5" : " 0"));
    if (dialogs.count(dialog)) dialogs[dialog].visible = shown;
}

// Any window but a dialog is the desktop.
bool WindowRectangle(HWND window, RECT* rect) {
    bool own = dialogs.count(window) != 0;
    if (Failed("GetWindowRect", own ? kDialog : "desktop")) return false;
    *rect = own ? dialogs[window].rect : desktop;
    return true;
}

void MoveProgressWindow(HWND dialog, int x, int y) {
    if (Failed("SetWindowPos", kDialog) || !dialogs.count(dialog)) return;
    RECT& r = dialogs[dialog].rect;
    r = {x, y, x + r.right - r.left, y + r.bottom - r.top};
}

void SetProgressWindowTitle(HWND dialog, const char* text) {
    fake::LogCall("SendMessageA", std::string(kDialog) + " 12");
    if (dialogs.count(dialog)) dialogs[dialog].title = text;
}

// Without the status control nothing changes.
void SetStatusLine(HWND dialog, const char* text, bool right_to_left) {
    if (!dialogs.count(dialog)) return;
    stand_in::ProgressWindow& shown = dialogs[dialog];
    if (Failed("GetDlgItem", std::string(kDialog) + "\\" + std::to_string(IDC_STATUS_TEXT))) return;
    SetReadingOrder(right_to_left, &shown.status_style, &shown.status_ex_style);
    shown.status = text;
}

// A bar's position stays within its range, 0 to 100.
void SetBarPosition(HWND dialog, int percent) {
    if (Failed("GetDlgItem", std::string(kDialog) + "\\" + std::to_string(IDC_PROGRESS_BAR)) ||
        !dialogs.count(dialog))
        return;
    dialogs[dialog].position = percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

void SendProgressCommand(HWND dialog, WPARAM command, LPARAM argument) {
    fake::LogCall("SendMessageA", std::string(kDialog) + " " + std::to_string(WM_COMMAND));
    if (!dialogs.count(dialog)) return;
    commands.push_back({dialog, command, argument});
    procedures[dialog](dialog, WM_COMMAND, command, argument);
}

namespace stand_in {

const ProgressWindow* Dialog(HWND dialog) {
    auto it = dialogs.find(dialog);
    return it == dialogs.end() ? nullptr : &it->second;
}
int DialogCount() { return (int)dialogs.size(); }
const std::vector<ProgressCommand>& ProgressCommands() { return commands; }
void SetDesktopRect(const RECT& rect) { desktop = rect; }

}  // namespace stand_in
