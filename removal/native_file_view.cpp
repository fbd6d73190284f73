// Turning the WOW64 file-system redirection off around the deletion of
// driver files. The functions exist from 64-bit XP on and are looked up at
// run time; a 32-bit Windows without them redirects nothing.
#include "removal/native_file_view.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"

namespace {

typedef decltype(&Wow64DisableWow64FsRedirection) DisableRedirectionFn;
typedef decltype(&Wow64RevertWow64FsRedirection) RevertRedirectionFn;

FARPROC Kernel32Function(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

bool IsBelowDrivers(const char* drivers, const char* path) {
    char drivers_form[PATH_BUFFER_SIZE], form[PATH_BUFFER_SIZE];
    return FullPathForm(drivers, drivers_form, sizeof drivers_form) &&
           FullPathForm(path, form, sizeof form) && IsSameOrBelow(form, drivers_form);
}

// The last answer, by the system folder and the path's folder as written
// (a path given in full resolves the same way every time): thousands of
// matches in one folder ask the system once.
struct LastAnswer {
    char drivers[PATH_BUFFER_SIZE];
    char folder[PATH_BUFFER_SIZE];
    bool below;
};
LastAnswer last;

bool LiesInSystemDrivers(const char* path) {
    char drivers[PATH_BUFFER_SIZE];
    UINT length = GetSystemDirectoryA(drivers, PATH_MACRO_ROOM - 8);
    if (!length || length >= PATH_MACRO_ROOM - 8) return false;
    memcpy(drivers + length, "\\drivers", 9);
    const char* name = MbFindLastChar(path, '\\');
    size_t folder = name ? (size_t)(name - path) : 0;
    if (!folder || folder >= PATH_BUFFER_SIZE || MbFindChar(name, '/') || !name[1] || name[1] == '.')
        return IsBelowDrivers(drivers, path);
    bool same = strcmp(drivers, last.drivers) == 0 && strncmp(path, last.folder, folder) == 0 &&
                !last.folder[folder];
    if (same) return last.below;
    memcpy(last.drivers, drivers, sizeof drivers);
    memcpy(last.folder, path, folder);
    last.folder[folder] = 0;
    return last.below = IsBelowDrivers(drivers, path);
}

}  // namespace

NativeFileView EnterNativeViewFor(const char* path) {
    NativeFileView view = {false, nullptr};
    DisableRedirectionFn disable =
        (DisableRedirectionFn)(void (*)(void))Kernel32Function("Wow64DisableWow64FsRedirection");
    if (disable && LiesInSystemDrivers(path)) view.turned_off = disable(&view.previous) != FALSE;
    return view;
}

// The last error of the call made in the view is kept for the caller.
void LeaveNativeView(const NativeFileView& view) {
    if (!view.turned_off) return;
    RevertRedirectionFn revert =
        (RevertRedirectionFn)(void (*)(void))Kernel32Function("Wow64RevertWow64FsRedirection");
    DWORD error = GetLastError();
    if (revert) revert(view.previous);
    SetLastError(error);
}
