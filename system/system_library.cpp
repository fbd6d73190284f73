// A system library by its full path: the system folder, then its name.
#include "system/system_library.h"

#include "system/library_calls.h"

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH + 32];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || length + 1 + strlen(name) >= sizeof path) return nullptr;
    path[length] = '\\';
    lstrcpynA(path + length + 1, name, (int)(sizeof path - length - 1));
    return LoadLibraryAt(path);
}
