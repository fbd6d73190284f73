// Appending the tools' lines to the run log, opened shared for each line
// and written at its end (uninst.exe keeps the same file open).
#include "devtools/tool_log.h"

#include <stdarg.h>

#define TOOL_LOG_TEXT_SIZE 1024  // wvsprintfA writes at most this much

namespace {

char log_path[MAX_PATH];
char log_tag[16];

void AppendLine(const char* line, DWORD length) {
    HANDLE file = CreateFileA(log_path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    if (SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER)
        WriteFile(file, line, length, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

void UseToolLog(const char* path, const char* tag) {
    lstrcpynA(log_path, path, sizeof log_path);
    lstrcpynA(log_tag, tag, sizeof log_tag);
}

void ToolLog(const char* format, ...) {
    if (!log_path[0]) return;
    static char line[64 + TOOL_LOG_TEXT_SIZE + 2];
    SYSTEMTIME now;
    GetLocalTime(&now);
    int length = wsprintfA(line, "%04u-%02u-%02u %02u:%02u:%02u [%lu] %s: ", now.wYear, now.wMonth,
                           now.wDay, now.wHour, now.wMinute, now.wSecond,
                           (unsigned long)GetCurrentProcessId(), log_tag);
    va_list args;
    va_start(args, format);
    length += wvsprintfA(line + length, format, args);
    va_end(args);
    line[length++] = '\r';
    line[length++] = '\n';
    AppendLine(line, (DWORD)length);
}
