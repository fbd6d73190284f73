// Finding the Windows directory shared by all users. On a multi-user NT 5
// system GetWindowsDirectoryA gives a per-user directory, so NT 5 and later
// are asked for the shared one; NT 4 lacks that call, and its Windows
// directory is the parent of the system directory.
#include "system/windows_directory.h"

#include "platform/mbtext.h"
#include "system/run_time_functions.h"
#include "system/windows_family.h"

namespace {

typedef decltype(&::GetSystemWindowsDirectoryA) SystemWindowsDirectoryFn;

// A length the call reports as written, or 0 for a failure or a directory
// that did not fit (the call then gives the size it needs).
UINT Written(UINT length, UINT size) { return length < size ? length : 0; }

UINT SharedWindowsDirectory(char* buffer, UINT size) {
    SystemWindowsDirectoryFn call =
        LoadedFunction<SystemWindowsDirectoryFn>("kernel32.dll", "GetSystemWindowsDirectoryA");
    return call ? Written(call(buffer, size), size) : 0;
}

// The system directory cut at its last backslash.
UINT ParentOfSystemDirectory(char* buffer, UINT size) {
    if (!Written(GetSystemDirectoryA(buffer, size), size)) return 0;
    char* last = nullptr;
    for (char* p = buffer; *p; p = (char*)MbNext(p))
        if (*p == '\\') last = p;
    if (!last) return 0;
    *last = 0;
    return (UINT)lstrlenA(buffer);
}

}  // namespace

UINT GetSystemWindowsDir(char* buffer, UINT size) {
    OSVERSIONINFOA info;
    if (!ReadWindowsVersion(&info) || info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return Written(GetWindowsDirectoryA(buffer, size), size);
    if (info.dwMajorVersion >= 5) return SharedWindowsDirectory(buffer, size);
    return ParentOfSystemDirectory(buffer, size);
}
