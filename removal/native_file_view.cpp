// Turning the WOW64 file-system redirection off around the deletion of
// driver files. The functions exist from 64-bit XP on and are looked up at
// run time; a 32-bit Windows without them redirects nothing.
#include "removal/native_file_view.h"

#include "removal/full_paths.h"
#include "removal/path_macros.h"

namespace {

typedef decltype(&Wow64DisableWow64FsRedirection) DisableRedirectionFn;
typedef decltype(&Wow64RevertWow64FsRedirection) RevertRedirectionFn;

FARPROC Kernel32Function(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? GetProcAddress(kernel, name) : nullptr;
}

bool LiesInSystemDrivers(const char* path) {
    char drivers[PATH_BUFFER_SIZE], drivers_form[PATH_BUFFER_SIZE], form[PATH_BUFFER_SIZE];
    UINT length = GetSystemDirectoryA(drivers, PATH_MACRO_ROOM - 8);
    if (!length || length >= PATH_MACRO_ROOM - 8) return false;
    memcpy(drivers + length, "\\drivers", 9);
    return FullPathForm(drivers, drivers_form, sizeof drivers_form) &&
           FullPathForm(path, form, sizeof form) && IsSameOrBelow(form, drivers_form);
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
