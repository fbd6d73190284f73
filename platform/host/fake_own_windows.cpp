// The program's own fake windows: the desktop's rectangle, dialogs built from the compiled dialog template
// with their controls. Messages are
// delivered synchronously to the dialog procedure, as SendMessageA does on
// the window's own thread, and every delivery is recorded.
#include "fake_world.h"

#include <map>
#include <string.h>

namespace {

struct Window {
    HWND parent = nullptr;
    std::string class_name;
    std::string text;
    DWORD style = 0;
    DWORD ex_style = 0;
    int id = 0;
    RECT rect = {0, 0, 0, 0};
    DLGPROC proc = nullptr;
    LRESULT position = 0;  // a progress bar's position
};

const HWND kDesktop = (HWND)(ULONG_PTR)0x10010;
std::map<HWND, Window> windows;
ULONG_PTR next_window;
RECT desktop;
std::vector<fake::SentMessage> delivered;

fake::ResetHook window_reset([] {
    windows.clear();
    next_window = 0x40000;
    desktop = {0, 0, 1024, 768};
    delivered.clear();
});

Window* Find(HWND window) {
    auto it = windows.find(window);
    return it == windows.end() ? nullptr : &it->second;
}

HWND Add(const Window& window) {
    HWND handle = (HWND)next_window;
    next_window += 0x10;
    windows[handle] = window;
    return handle;
}

// A template's class, title or menu: empty, 0xFFFF and an ordinal, or a
// UTF-16 string (taken here as Latin-1).
std::string TemplateText(const std::string& d, size_t* at) {
    if (fake::LittleWord(d, *at) == 0xFFFF) {
        static const char* const kAtoms[] = {"button", "edit", "static", "listbox", "scrollbar", "combobox"};
        WORD atom = fake::LittleWord(d, *at + 2);
        *at += 4;
        return atom >= 0x80 && atom <= 0x85 ? kAtoms[atom - 0x80] : "#" + std::to_string(atom);
    }
    std::string text;
    for (; *at + 2 <= d.size() && fake::LittleWord(d, *at); *at += 2) text += (char)fake::LittleWord(d, *at);
    *at += 2;
    return text;
}

// Dialog units to pixels for the 8-point dialog font (base units 6 by 13).
RECT Pixels(const std::string& d, size_t at, HWND parent) {
    LONG x = (short)fake::LittleWord(d, at) * 6 / 4, y = (short)fake::LittleWord(d, at + 2) * 13 / 8;
    LONG cx = (short)fake::LittleWord(d, at + 4) * 6 / 4, cy = (short)fake::LittleWord(d, at + 6) * 13 / 8;
    if (!parent) return {x, y, x + cx + 6, y + cy + 25};  // frame and caption
    return {x, y, x + cx, y + cy};
}

// Builds the controls of a DLGTEMPLATE that starts at `at`.
void AddControls(const std::string& d, size_t at, int count, HWND dialog) {
    for (int i = 0; i < count && at + 18 <= d.size(); ++i) {
        at = (at + 3) & ~(size_t)3;
        Window control;
        control.parent = dialog;
        control.style = fake::LittleDword(d, at);
        control.ex_style = fake::LittleDword(d, at + 4);
        control.rect = Pixels(d, at + 8, dialog);
        control.id = fake::LittleWord(d, at + 16);
        size_t field = at + 18;
        control.class_name = TemplateText(d, &field);
        control.text = TemplateText(d, &field);
        field += 2 + fake::LittleWord(d, field);  // creation data
        Add(control);
        at = field;
    }
}

HWND BuildDialog(const std::string& d, DLGPROC proc) {
    Window dialog;
    dialog.style = fake::LittleDword(d, 0);
    dialog.rect = Pixels(d, 10, nullptr);
    dialog.proc = proc;
    dialog.class_name = "#32770";
    size_t field = 18;
    TemplateText(d, &field);  // menu
    TemplateText(d, &field);  // class
    dialog.text = TemplateText(d, &field);
    if (dialog.style & DS_SETFONT) {
        field += 2;
        TemplateText(d, &field);
    }
    HWND handle = Add(dialog);
    AddControls(d, field, fake::LittleWord(d, 8), handle);
    return handle;
}

LRESULT Deliver(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    delivered.push_back({window, message, wparam, lparam});
    Window* target = Find(window);
    if (!target) return 0;
    if (target->proc && target->proc(window, message, wparam, lparam)) return TRUE;
    target = Find(window);  // the procedure may have destroyed it
    if (!target) return 0;
    if (message == WM_SETTEXT) target->text = lparam ? (const char*)lparam : "";
    if (message == PBM_SETPOS && fake::SameName(target->class_name, "msctls_progress32")) {
        LRESULT previous = target->position;
        LRESULT wanted = (int)wparam;  // the new position, clamped to the range 0-100
        target->position = wanted < 0 ? 0 : (wanted > 100 ? 100 : wanted);
        return previous;
    }
    return 0;
}

std::string Subject(HWND window) {
    Window* w = Find(window);
    return w ? w->class_name + "\\" + std::to_string(w->id) : "?";
}

// Log, then any injected failure, for a call on one window.
bool Failed(const char* api, HWND window) {
    fake::LogCall(api, Subject(window));
    DWORD error = fake::InjectedFailure(api, Subject(window));
    if (error) SetLastError(error);
    return error != 0;
}

}  // namespace

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    fake::LogCall("SendMessageA", Subject(window) + " " + std::to_string(message));
    return Deliver(window, message, wparam, lparam);
}

HWND GetDesktopWindow(void) {
    fake::LogCall("GetDesktopWindow", "");
    return fake::InjectedFailure("GetDesktopWindow", "") ? nullptr : kDesktop;
}

void InitCommonControls(void) { fake::LogCall("InitCommonControls", ""); }

// The classes asked for, as "ICC=0x20"; a record of the wrong size fails.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    char subject[32];
    snprintf(subject, sizeof subject, "ICC=0x%lx", init ? (unsigned long)init->dwICC : 0ul);
    fake::LogCall("InitCommonControlsEx", subject);
    DWORD error = fake::InjectedFailure("InitCommonControlsEx", subject);
    if (!error && (!init || init->dwSize != sizeof *init)) error = ERROR_INVALID_PARAMETER;
    if (error) SetLastError(error);
    return error == 0;
}

HWND CreateDialogParamA(HINSTANCE, LPCSTR template_name, HWND owner, DLGPROC proc,
                        LPARAM init_param) {
    std::string id = std::to_string((ULONG_PTR)template_name);
    fake::LogCall("CreateDialogParamA", id);
    if (DWORD error = fake::InjectedFailure("CreateDialogParamA", id)) {
        SetLastError(error);
        return nullptr;
    }
    const std::string* dialog_template = nullptr;
    for (WORD language : fake::ResourceLanguages(5, (int)(ULONG_PTR)template_name))
        dialog_template = fake::ResourceBytes(5, (int)(ULONG_PTR)template_name, language);
    if (!dialog_template || !IS_INTRESOURCE(template_name)) {
        SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
        return nullptr;
    }
    HWND dialog = BuildDialog(*dialog_template, proc);
    Find(dialog)->parent = owner;
    Deliver(dialog, WM_INITDIALOG, 0, init_param);
    return dialog;
}

BOOL DestroyWindow(HWND window) {
    if (Failed("DestroyWindow", window)) return FALSE;
    if (!Find(window)) return FALSE;
    Deliver(window, WM_DESTROY, 0, 0);
    for (auto it = windows.begin(); it != windows.end();)
        it = it->second.parent == window ? windows.erase(it) : std::next(it);
    windows.erase(window);
    return TRUE;
}


BOOL GetWindowRect(HWND window, LPRECT rect) {
    std::string subject = window == kDesktop ? "desktop" : Subject(window);
    fake::LogCall("GetWindowRect", subject);
    if (DWORD error = fake::InjectedFailure("GetWindowRect", subject)) {
        SetLastError(error);
        return FALSE;
    }
    if (window == kDesktop) {
        *rect = desktop;
        return TRUE;
    }
    Window* w = Find(window);
    if (!w) return FALSE;
    *rect = w->rect;
    return TRUE;
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int cx, int cy, UINT flags) {
    if (Failed("SetWindowPos", window)) return FALSE;
    Window* w = Find(window);
    if (!w) return FALSE;
    RECT& r = w->rect;
    LONG width = (flags & SWP_NOSIZE) ? r.right - r.left : cx;
    LONG height = (flags & SWP_NOSIZE) ? r.bottom - r.top : cy;
    if (!(flags & SWP_NOMOVE)) r.left = x, r.top = y;
    r.right = r.left + width;
    r.bottom = r.top + height;
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

BOOL ShowWindow(HWND window, int show) {
    fake::LogCall("ShowWindow", Subject(window) + " " + std::to_string(show));
    Window* w = Find(window);
    if (!w) return FALSE;
    BOOL was_visible = (w->style & WS_VISIBLE) != 0;
    if (show == SW_HIDE) w->style &= ~(DWORD)WS_VISIBLE;
    else w->style |= WS_VISIBLE;
    return was_visible;
}

BOOL IsWindowVisible(HWND window) {
    Window* w = Find(window);
    return w && (w->style & WS_VISIBLE);
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (Failed("SetWindowTextA", window)) return FALSE;
    if (!Find(window)) return FALSE;
    Deliver(window, WM_SETTEXT, 0, (LPARAM)text);
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR text, int size) {
    Window* w = Find(window);
    if (!w || size <= 0) return 0;
    lstrcpynA(text, w->text.c_str(), size);
    return lstrlenA(text);
}

HWND GetDlgItem(HWND dialog, int id) {
    std::string subject = Subject(dialog) + "\\" + std::to_string(id);
    fake::LogCall("GetDlgItem", subject);
    if (DWORD error = fake::InjectedFailure("GetDlgItem", subject)) {
        SetLastError(error);
        return nullptr;
    }
    for (auto& entry : windows)
        if (entry.second.parent == dialog && entry.second.id == id) return entry.first;
    SetLastError(1421);  // ERROR_CONTROL_ID_NOT_FOUND
    return nullptr;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextA(control, text) : FALSE;
}

// Only the two style words are kept; any other index fails as an invalid one.
static DWORD* StyleWord(HWND window, int index) {
    Window* w = Find(window);
    if (!w) return nullptr;
    if (index == GWL_STYLE) return &w->style;
    return index == GWL_EXSTYLE ? &w->ex_style : nullptr;
}

LONG GetWindowLongA(HWND window, int index) {
    DWORD* word = StyleWord(window, index);
    return word ? (LONG)*word : 0;
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
    if (Failed("SetWindowLongA", window)) return 0;
    DWORD* word = StyleWord(window, index);
    if (!word) return 0;
    LONG previous = (LONG)*word;
    *word = (DWORD)value;
    return previous;
}

namespace fake {

bool IsOwnWindow(HWND window) { return Find(window) != nullptr; }

LRESULT DeliverToOwnWindow(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return Deliver(window, message, wparam, lparam);
}

const std::vector<SentMessage>& DeliveredMessages() { return delivered; }
void SetDesktopRect(const RECT& rect) { desktop = rect; }
int WindowCount() { return (int)windows.size(); }

WindowInfo Inspect(HWND window) {
    WindowInfo info = {};
    Window* w = Find(window);
    if (!w) return info;
    info.exists = true;
    info.class_name = w->class_name;
    info.text = w->text;
    info.style = w->style;
    info.ex_style = w->ex_style;
    info.id = w->id;
    info.rect = w->rect;
    info.position = (int)w->position;
    info.parent = w->parent;
    return info;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> found;
    for (auto& entry : windows)
        if (entry.second.parent == dialog) found.push_back(entry.first);
    return found;
}


}  // namespace fake
