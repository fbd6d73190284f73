// Reading the request and writing the result with CreateFileA, ReadFile and
// WriteFile, in the shared Windows directory where uninst.exe puts them.
#include "devtools/tool_files.h"

#include "removal/device_tool.h"
#include "system/windows_directory.h"

bool ToolFilePath(char last, char* path, size_t size) {
    UINT length = GetSystemWindowsDir(path, (UINT)size);
    if (!length || length + sizeof DEVICE_REQUEST_FILE > size) return false;
    lstrcpyA(path + length, DEVICE_REQUEST_FILE);
    path[lstrlenA(path) - 1] = last;
    return true;
}

namespace {

// Feeds the parser until the end of the file; false on a read error.
bool ReadAll(HANDLE file, RequestParser* parser) {
    char chunk[1024];
    DWORD got;
    do {
        if (!ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return false;
        FeedRequest(parser, chunk, got);
    } while (got);
    EndRequest(parser);
    return true;
}

}  // namespace

bool ReadToolRequest(DeviceRequest* request, DWORD* error) {
    char path[MAX_PATH];
    if (!ToolFilePath('s', path, sizeof path)) {
        *error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    static RequestParser parser;
    BeginRequest(&parser, request);
    bool read = ReadAll(file, &parser);
    *error = read ? 0 : GetLastError();
    CloseHandle(file);
    return read;
}

bool WriteToolResult(const ToolOutcome& outcome, const char* tag) {
    char path[MAX_PATH];
    if (!ToolFilePath('r', path, sizeof path)) return false;
    char text[512];
    DWORD length = (DWORD)FormatToolResult(outcome, tag, text, sizeof text);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool done = WriteFile(file, text, length, &written, nullptr) && written == length;
    return CloseHandle(file) && done;
}
