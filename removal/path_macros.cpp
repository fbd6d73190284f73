// Finding the shared Windows directory and expanding the path macros.
#include "removal/path_macros.h"

#include "platform/mbtext.h"

namespace {

typedef UINT(WINAPI* GetDirectoryFunction)(LPSTR buffer, UINT size);

// A directory call's answer: the length, or 0 when it failed or answered
// the size it would have needed.
UINT FittedLength(UINT length, UINT size) { return length < size ? length : 0; }

// Windows 2000 and later: the one directory all users share, which the
// per-user Windows directory of a terminal session is not.
UINT SharedWindowsDir(LPSTR buffer, UINT size) {
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWindowsDirectoryA");
    if (!found) return 0;
    GetDirectoryFunction get = (GetDirectoryFunction)(void*)found;
    return FittedLength(get(buffer, size), size);
}

// NT before 5: the parent of the system directory.
UINT ParentOfSystemDir(LPSTR buffer, UINT size) {
    UINT length = FittedLength(GetSystemDirectoryA(buffer, size), size);
    if (!length) return 0;
    char* slash = (char*)MbFindLastChar(buffer, '\\');
    if (!slash) return length;
    *slash = 0;
    return (UINT)(slash - buffer);
}

}  // namespace

UINT GetSystemWindowsDir(LPSTR buffer, UINT size) {
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info) || info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return FittedLength(GetWindowsDirectoryA(buffer, size), size);
    if (info.dwMajorVersion >= 5) return SharedWindowsDir(buffer, size);
    return ParentOfSystemDir(buffer, size);
}

// The room counts bytes, so that double-byte text can never outgrow the
// buffer the room was taken from.
int ReplaceMacro(const char* source, const char* macro, const char* value, char* out,
                 size_t room) {
    size_t macro_length = strlen(macro), value_length = strlen(value);
    while (*source) {
        bool match = macro_length && strncmp(source, macro, macro_length) == 0;
        const char* piece = match ? value : source;
        size_t length = match ? value_length : (size_t)(MbNext(source) - source);
        if (room < length) break;
        memcpy(out, piece, length);
        out += length;
        room -= length;
        source += match ? macro_length : length;
    }
    *out = 0;
    return *source == 0;
}

bool GetMacroDirs(char* windows_dir, char* system_dir) {
    if (!GetSystemWindowsDir(windows_dir, PATH_BUFFER_SIZE)) return false;
    return FittedLength(GetSystemDirectoryA(system_dir, PATH_BUFFER_SIZE), PATH_BUFFER_SIZE) != 0;
}

bool ExpandPathMacros(const char* entry, const char* windows_dir, const char* system_dir,
                      char* out) {
    char stage[PATH_BUFFER_SIZE];
    return ReplaceMacro(entry, "%WIN_DIR%", windows_dir, stage, PATH_MACRO_ROOM) &&
           ReplaceMacro(stage, "%WIN_SYS_DIR%", system_dir, out, PATH_MACRO_ROOM);
}
