/* A stand-in device-manager tool that fails: it writes the result file
   beside the request in the Windows directory, with status -1, the tag
   "DevMgr remove" and the code 31, and exits with 0. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show) {
    static const char result[] = "-1\r\nDevMgr remove\r\n31\r\n";
    char path[MAX_PATH + 16];
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    (void)instance, (void)previous, (void)tail, (void)show;
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcpyA(path + length, "\\XLNWL.dmr");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written;
    WriteFile(file, result, sizeof result - 1, &written, NULL);
    CloseHandle(file);
    return 0;
}
