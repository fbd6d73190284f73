// A test helper run inside a scenario's Wine prefix: finds a top-level
// window by its caption, reports what it shows, and presses its buttons, so
// that a scenario can check a message box's text and answer it.
//
//   winprobe wait CAPTION [TIMEOUT-MS]     exit 0 when the window exists
//   winprobe show CAPTION [TIMEOUT-MS]     caption, visibility, rectangle,
//                                          screen size, each control's text
//   winprobe press CAPTION BUTTON-TEXT [TIMEOUT-MS]
//   winprobe close CAPTION [TIMEOUT-MS]    posts WM_CLOSE to the window
//   winprobe watch CAPTION [TIMEOUT-MS]    once the window exists, a line
//                                          for each change of its visibility
//                                          or static texts, until it goes
//   winprobe ask CAPTION [TIMEOUT-MS]      sends the window WM_NULL as a user's
//                                          program would, and waits a second
//                                          for the answer
// Exit codes: 0 done, 1 window or button not found in time, 2 bad usage,
// 3 the window did not answer within a second.
#include <windows.h>
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
    printf("control: %s \"%s\"%s\n", class_name, text, IsWindowVisible(control) ? "" : " hidden");
    return TRUE;
}

int Show(HWND window) {
    char caption[512];
    RECT rect;
    GetWindowTextA(window, caption, sizeof caption);
    GetWindowRect(window, &rect);
    printf("caption: %s\n", caption);
    printf("visible: %d\n", IsWindowVisible(window) ? 1 : 0);
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

int Usage() {
    fprintf(stderr, "usage: winprobe wait|show|close|watch|ask CAPTION [TIMEOUT-MS]\n"
                    "       winprobe press CAPTION BUTTON-TEXT [TIMEOUT-MS]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const char* command = argv[1];
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
