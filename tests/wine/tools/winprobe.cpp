// A test helper run inside a scenario's Wine prefix: finds a top-level
// window by its caption, reports what it shows, and presses its buttons, so
// that a scenario can check a message box's text and answer it.
//
//   winprobe wait CAPTION [TIMEOUT-MS]     exit 0 when the window exists
//   winprobe show CAPTION [TIMEOUT-MS]     caption, visibility, styles,
//                                          rectangle, screen size, each
//                                          control's text and styles
//   winprobe press CAPTION BUTTON-TEXT [TIMEOUT-MS]
//   winprobe close CAPTION [TIMEOUT-MS]    posts WM_CLOSE to the window
//   winprobe watch CAPTION [TIMEOUT-MS]    once the window exists, a line
//                                          for each change of its visibility
//                                          or static texts, until it goes
//   winprobe measure EXE LANGID [ID...]    builds EXE's progress dialog and
//                                          measures each status text (ids 6
//                                          to 12 by default) of the table
//                                          LANGID in the status control's own
//                                          font, as this process's ANSI code
//                                          page gives it
//   winprobe ask CAPTION [TIMEOUT-MS]      sends the window WM_NULL as a user's
//                                          program would, and waits a second
//                                          for the answer
//   winprobe short PATH                    prints the path's 8.3 spelling, as
//                                          this prefix made it up
// Exit codes: 0 done (measure: every text fits), 1 window or button not
// found in time (measure: EXE, its dialog or a text missing), 2 bad usage,
// 3 (measure) a text does not fit, (ask) the window did not answer within a
// second.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const DWORD kDefaultTimeoutMs = 10000;

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    Search* search = (Search*)param;
    char text[512];
    GetWindowTextA(window, text, sizeof text);
    if (strcmp(text, search->caption) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// Polls the top-level windows until one has exactly this caption.
HWND WaitForWindow(const char* caption, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        Search search = {caption, nullptr};
        EnumWindows(MatchCaption, (LPARAM)&search);
        if (search.found) return search.found;
        if (GetTickCount() - start >= timeout_ms) return nullptr;
        Sleep(100);
    }
}

// A control's text without the '&' that marks its keyboard shortcut.
void PlainText(HWND control, char* text, int size) {
    char raw[512];
    GetWindowTextA(control, raw, sizeof raw);
    int out = 0;
    for (const char* p = raw; *p && out < size - 1; ++p)
        if (*p != '&') text[out++] = *p;
    text[out] = 0;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    char class_name[128], text[512];
    GetClassNameA(control, class_name, sizeof class_name);
    PlainText(control, text, sizeof text);
    printf("control: %s \"%s\"%s style=%08lX exstyle=%08lX\n", class_name, text,
           IsWindowVisible(control) ? "" : " hidden", (unsigned long)GetWindowLongA(control, GWL_STYLE),
           (unsigned long)GetWindowLongA(control, GWL_EXSTYLE));
    return TRUE;
}

int Show(HWND window) {
    char caption[512];
    RECT rect;
    GetWindowTextA(window, caption, sizeof caption);
    GetWindowRect(window, &rect);
    printf("caption: %s\n", caption);
    printf("visible: %d\n", IsWindowVisible(window) ? 1 : 0);
    printf("style: %08lX exstyle: %08lX\n", (unsigned long)GetWindowLongA(window, GWL_STYLE),
           (unsigned long)GetWindowLongA(window, GWL_EXSTYLE));
    printf("rect: %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    printf("screen: %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EnumChildWindows(window, PrintControl, 0);
    return 0;
}

struct TextCollector {
    char texts[1024];
};

BOOL CALLBACK CollectStatic(HWND control, LPARAM param) {
    TextCollector* collector = (TextCollector*)param;
    char class_name[128], text[512];
    GetClassNameA(control, class_name, sizeof class_name);
    if (lstrcmpiA(class_name, "Static") != 0) return TRUE;
    PlainText(control, text, sizeof text);
    size_t used = strlen(collector->texts);
    _snprintf(collector->texts + used, sizeof collector->texts - used - 1, "%s\"%s\"",
              used ? " " : "", text);
    return TRUE;
}

// Reads another process's window without sending it anything (the text
// and rectangle come from the window manager), so a program that pumps no
// messages can still be watched.
int Watch(HWND window, DWORD timeout_ms) {
    char last[1100] = "";
    DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < timeout_ms) {
        TextCollector collector;
        memset(&collector, 0, sizeof collector);
        EnumChildWindows(window, CollectStatic, (LPARAM)&collector);
        char now[1100];
        RECT rect;
        GetWindowRect(window, &rect);
        _snprintf(now, sizeof now - 1, "visible=%d rect=%ld,%ld,%ld,%ld texts=%s",
                  IsWindowVisible(window) ? 1 : 0, rect.left, rect.top, rect.right,
                  rect.bottom, collector.texts);
        now[sizeof now - 1] = 0;
        if (strcmp(now, last) != 0) {
            printf("%lu %s\n", (unsigned long)(GetTickCount() - start), now);
            fflush(stdout);
            strcpy(last, now);
        }
        Sleep(25);
    }
    printf("gone\n");
    return 0;
}

struct ButtonSearch {
    const char* text;
    HWND found;
};

BOOL CALLBACK MatchButton(HWND control, LPARAM param) {
    ButtonSearch* search = (ButtonSearch*)param;
    char text[512];
    PlainText(control, text, sizeof text);
    if (lstrcmpiA(text, search->text) != 0) return TRUE;
    search->found = control;
    return FALSE;
}

// Posts the click as the dialog would get it, so that a modal box's own
// message loop handles it and the probe never waits on that loop.
int Press(HWND window, const char* button_text) {
    ButtonSearch search = {button_text, nullptr};
    EnumChildWindows(window, MatchButton, (LPARAM)&search);
    if (!search.found) {
        fprintf(stderr, "winprobe: no button \"%s\"\n", button_text);
        return 1;
    }
    int id = GetDlgCtrlID(search.found);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)search.found);
    printf("pressed: %s\n", button_text);
    return 0;
}

// --- measure: the status texts against the status control ---------------

const int kStatusControlId = 301;
const int kProgressDialogId = 101;
const UINT kProductNameId = 25;

// One row of a string-table block, or an empty text.
void TableRow(HMODULE module, UINT id, LANGID language, WCHAR* out, int size) {
    out[0] = 0;
    HRSRC found = FindResourceExW(module, (LPCWSTR)RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    const BYTE* block = found ? (const BYTE*)LockResource(LoadResource(module, found)) : nullptr;
    DWORD bytes = found ? SizeofResource(module, found) : 0, at = 0;
    for (UINT entry = 0; block && entry < 16 && at + 2 <= bytes; ++entry) {
        DWORD count = block[at] | (DWORD)block[at + 1] << 8;
        at += 2;
        if (count * 2 > bytes - at) return;
        if (entry == id % 16 && (int)count < size) {
            memcpy(out, block + at, count * 2);
            out[count] = 0;
            return;
        }
        at += count * 2;
    }
}

// The row with the product name (row 25) in place of its placeholder.
void StatusText(HMODULE module, UINT id, LANGID language, WCHAR* out, int size) {
    static const WCHAR kPlaceholder[] = L"%OEM_FULL_PRODUCT_NAME%";
    WCHAR row[512], name[256];
    TableRow(module, id, language, row, 512);
    TableRow(module, kProductNameId, language, name, 256);
    int used = 0;
    for (const WCHAR* p = row; *p && used < size - 1;) {
        if (wcsncmp(p, kPlaceholder, 23) == 0) {
            for (const WCHAR* n = name; *n && used < size - 1; ++n) out[used++] = *n;
            p += 23;
        } else {
            out[used++] = *p++;
        }
    }
    out[used] = 0;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The progress dialog built from EXE's own template, hidden.
HWND ProgressDialogOf(HMODULE exe) {
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(kProgressDialogId), (LPCSTR)RT_DIALOG);
    const void* dialog_template = found ? LockResource(LoadResource(exe, found)) : nullptr;
    if (!dialog_template) return nullptr;
    InitCommonControls();
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), (LPCDLGTEMPLATEA)dialog_template,
                                      nullptr, QuietDialog, 0);
}

// Sets the text as the program does, then measures it with the control's
// font on the control's DC: its width on one line, and the box that the
// static control's word-wrapping fills. True when it fits the client area.
// The report shows the text in UTF-8, whatever the code page.
bool MeasureOne(HWND status, UINT id, const char* text, const WCHAR* wide) {
    SetWindowTextA(status, text);
    RECT client;
    GetClientRect(status, &client);
    HDC dc = GetDC(status);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(status, WM_GETFONT, 0, 0));
    SIZE line = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &line);
    RECT wrapped = {0, 0, client.right, 0};
    DrawTextA(dc, text, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(status, dc);
    bool fits = wrapped.right <= client.right && wrapped.bottom <= client.bottom;
    char utf8[4096];
    if (!WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr)) utf8[0] = 0;
    printf("id=%u width=%ld height=%ld lines=%ld client=%ldx%ld fits=%d text=%s\n", id, line.cx,
           line.cy, line.cy ? wrapped.bottom / line.cy : 0, client.right, client.bottom, fits ? 1 : 0,
           utf8);
    return fits;
}

int Measure(int argc, char** argv) {
    HMODULE exe = LoadLibraryExA(argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    LANGID language = (LANGID)strtoul(argv[3], nullptr, 16);
    HWND dialog = exe ? ProgressDialogOf(exe) : nullptr;
    HWND status = dialog ? GetDlgItem(dialog, kStatusControlId) : nullptr;
    if (!status) {
        fprintf(stderr, "winprobe: no progress dialog in %s\n", argv[2]);
        return 1;
    }
    printf("user=%04X acp=%u\n", GetUserDefaultLangID(), GetACP());
    int result = 0;
    int count = argc > 4 ? argc - 4 : 7;
    for (int i = 0; i < count; ++i) {
        UINT wanted = argc > 4 ? (UINT)strtoul(argv[4 + i], nullptr, 10) : 6 + (UINT)i;
        WCHAR wide[1024];
        char text[2048];
        StatusText(exe, wanted, language, wide, 1024);
        if (!wide[0] || !WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr)) {
            fprintf(stderr, "winprobe: no text %u in table %04X\n", wanted, language);
            return 1;
        }
        if (!MeasureOne(status, wanted, text, wide)) result = 3;
    }
    DestroyWindow(dialog);
    return result;
}

// Windows ghosts a window that leaves a message unanswered for five
// seconds; one second is what a user's program would wait.
int Ask(HWND window) {
    const UINT kAnswerMs = 1000;
    DWORD start = GetTickCount();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) {
        printf("no answer within %u ms\n", kAnswerMs);
        return 3;
    }
    printf("answered in %lu ms\n", (unsigned long)(GetTickCount() - start));
    return 0;
}

DWORD TimeoutArg(int argc, char** argv, int index) {
    return argc > index ? (DWORD)strtoul(argv[index], nullptr, 10) : kDefaultTimeoutMs;
}

int ShortPath(const char* path) {
    char short_path[MAX_PATH];
    DWORD length = GetShortPathNameA(path, short_path, sizeof short_path);
    if (length == 0 || length >= sizeof short_path) return 1;
    printf("%s\n", short_path);
    return 0;
}

int Usage() {
    fprintf(stderr, "usage: winprobe wait|show|close|watch|ask CAPTION [TIMEOUT-MS]\n"
                    "       winprobe press CAPTION BUTTON-TEXT [TIMEOUT-MS]\n"
                    "       winprobe measure EXE LANGID [ID...]\n"
                    "       winprobe short PATH\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const char* command = argv[1];
    if (strcmp(command, "measure") == 0) return argc < 4 ? Usage() : Measure(argc, argv);
    if (strcmp(command, "short") == 0) return ShortPath(argv[2]);
    bool press = strcmp(command, "press") == 0;
    if (press && argc < 4) return Usage();
    bool close = strcmp(command, "close") == 0;
    bool watch = strcmp(command, "watch") == 0;
    bool ask = strcmp(command, "ask") == 0;
    if (!press && !close && !watch && !ask && strcmp(command, "wait") != 0 &&
        strcmp(command, "show") != 0)
        return Usage();
    HWND window = WaitForWindow(argv[2], TimeoutArg(argc, argv, press ? 4 : 3));
    if (!window) {
        fprintf(stderr, "winprobe: no window \"%s\"\n", argv[2]);
        return 1;
    }
    if (press) return Press(window, argv[3]);
    if (ask) return Ask(window);
    if (close) return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    if (watch) {
        printf("screen: %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        return Watch(window, TimeoutArg(argc, argv, 3));
    }
    if (strcmp(command, "show") == 0) return Show(window);
    return 0;
}
