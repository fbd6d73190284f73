/* A stand-in support applet for the end-to-end tests:
     applet_window CLASS CAPTION
   creates a hidden top-level window of class CLASS titled CAPTION and runs
   until that window gets WM_CLOSE; it then appends "WM_CLOSE CLASS" to
   C:\applets-closed.log and exits. While it runs, its own executable cannot
   be deleted, which is how the tests get a file whose deletion must wait
   for the restart. */
#include <windows.h>
#include <stdlib.h>

static const char* g_class = "";

static void LogClose(void) {
    HANDLE log = CreateFileA("C:\\applets-closed.log", GENERIC_WRITE, FILE_SHARE_READ, NULL,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE) return;
    SetFilePointer(log, 0, NULL, FILE_END);
    DWORD written;
    WriteFile(log, "WM_CLOSE ", 9, &written, NULL);
    WriteFile(log, g_class, lstrlenA(g_class), &written, NULL);
    WriteFile(log, "\r\n", 2, &written, NULL);
    CloseHandle(log);
}

static LRESULT CALLBACK AppletProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CLOSE:
        LogClose();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show) {
    (void)previous, (void)tail, (void)show;
    if (__argc < 3) return 2;
    g_class = __argv[1];
    WNDCLASSA window_class;
    ZeroMemory(&window_class, sizeof window_class);
    window_class.lpfnWndProc = AppletProc;
    window_class.hInstance = instance;
    window_class.lpszClassName = g_class;
    if (!RegisterClassA(&window_class)) return 1;
    if (!CreateWindowA(g_class, __argv[2], WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL,
                       instance, NULL))
        return 1;
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
