/* A stand-in service program for the end-to-end tests: it appends a line
   "start <its own path>|<its command line>" to C:\services-called.log, waits
   half a second (or RECORD_ARGS_SLEEP_MS milliseconds when the environment
   names them), appends the matching "end" line and exits. The pairs show
   in which order the programs ran and that each ended before the next began. */
#include <windows.h>

static void AppendLine(const char* word, const char* module, const char* command) {
    HANDLE log = CreateFileA("C:\\services-called.log", GENERIC_WRITE, FILE_SHARE_READ, NULL,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE) return;
    SetFilePointer(log, 0, NULL, FILE_END);
    DWORD written;
    WriteFile(log, word, lstrlenA(word), &written, NULL);
    WriteFile(log, module, lstrlenA(module), &written, NULL);
    WriteFile(log, "|", 1, &written, NULL);
    WriteFile(log, command, lstrlenA(command), &written, NULL);
    WriteFile(log, "\r\n", 2, &written, NULL);
    CloseHandle(log);
}

static DWORD PauseMilliseconds(void) {
    char text[16];
    DWORD length = GetEnvironmentVariableA("RECORD_ARGS_SLEEP_MS", text, sizeof text);
    DWORD ms = 0;
    if (length == 0 || length >= sizeof text) return 500;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) ms = ms * 10 + (DWORD)(*p - '0');
    return ms;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show) {
    char module[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(NULL, module, MAX_PATH);
    module[length < MAX_PATH ? length : MAX_PATH] = 0;
    const char* command = GetCommandLineA();
    (void)instance, (void)previous, (void)tail, (void)show;
    AppendLine("start ", module, command);
    Sleep(PauseMilliseconds());
    AppendLine("end ", module, command);
    return 0;
}
