// Waits for a top-level window with the given caption, prints its caption
// and the texts of its static controls one per line, then presses its
// first button. Exit code 0 when the window was found, 1 when it was not
// found within the time allowed.
// Usage: box_probe CAPTION [SECONDS]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

HWND first_button;

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char class_name[64], text[2048];
    GetClassNameA(child, class_name, sizeof class_name);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(class_name, "Static") == 0 && text[0]) printf("text: %s\n", text);
    if (lstrcmpiA(class_name, "Button") == 0 && !first_button) first_button = child;
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int seconds = argc > 2 ? atoi(argv[2]) : 20;
    HWND box = nullptr;
    for (int i = 0; i < seconds * 10 && !box; ++i) {
        box = FindWindowA(nullptr, argv[1]);
        if (!box) Sleep(100);
    }
    if (!box) return 1;
    char caption[512];
    GetWindowTextA(box, caption, sizeof caption);
    printf("caption: %s\n", caption);
    EnumChildWindows(box, PrintChild, 0);
    fflush(stdout);
    if (first_button) SendMessageA(first_button, BM_CLICK, 0, 0);
    else PostMessageA(box, WM_CLOSE, 0, 0);
    return 0;
}
