// Turning the WOW64 file-system redirection off around the deletion of
// driver files, and naming the file a redirected call really reached. The
// functions exist from XP on and are looked up at run time; a 32-bit
// Windows without them redirects nothing.
#include "removal/native_file_view.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "system/run_time_functions.h"

namespace {

typedef decltype(&Wow64DisableWow64FsRedirection) DisableRedirectionFn;
typedef decltype(&Wow64RevertWow64FsRedirection) RevertRedirectionFn;
typedef decltype(&IsWow64Process) IsWow64ProcessFn;
typedef decltype(&GetSystemWow64DirectoryA) GetWow64DirectoryFn;

template <typename Function>
Function Kernel32Function(const char* name) {
    return LoadedFunction<Function>("kernel32.dll", name);
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

// The entry point and the system folder, asked once while a scope lives.
struct ViewMemory {
    int scopes;
    bool known;
    DisableRedirectionFn disable;
    char drivers[PATH_BUFFER_SIZE];  // empty when the system folder is too long
};
ViewMemory view_memory;

void AskViewFacts() {
    if (view_memory.scopes && view_memory.known) return;
    view_memory.disable = Kernel32Function<DisableRedirectionFn>("Wow64DisableWow64FsRedirection");
    UINT length = view_memory.disable ? GetSystemDirectoryA(view_memory.drivers, PATH_MACRO_ROOM - 8) : 0;
    if (length && length < PATH_MACRO_ROOM - 8) memcpy(view_memory.drivers + length, "\\drivers", 9);
    else view_memory.drivers[0] = 0;
    view_memory.known = view_memory.scopes > 0;
}

bool LiesInSystemDrivers(const char* path) {
    const char* drivers = view_memory.drivers;
    if (!*drivers) return false;
    const char* name = MbFindLastChar(path, '\\');
    size_t folder = name ? (size_t)(name - path) : 0;
    if (!folder || folder >= PATH_BUFFER_SIZE || MbFindChar(name, '/') || !name[1] || name[1] == '.')
        return IsBelowDrivers(drivers, path);
    bool same = strcmp(drivers, last.drivers) == 0 && strncmp(path, last.folder, folder) == 0 &&
                !last.folder[folder];
    if (same) return last.below;
    MbCopy(last.drivers, sizeof last.drivers, drivers);
    memcpy(last.folder, path, folder);
    last.folder[folder] = 0;
    return last.below = IsBelowDrivers(drivers, path);
}

bool RunsUnderWow64() {
    IsWow64ProcessFn is_wow64 = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
    BOOL wow64 = FALSE;
    return is_wow64 && is_wow64(GetCurrentProcess(), &wow64) && wow64;
}

// The system folder's own folders that WOW64 does not redirect, with
// "drivers", which this program sees natively; `rest` follows the
// system folder's backslash.
bool SeenNatively(const char* rest) {
    static const char* const kFolders[] = {"catroot", "catroot2", "driverstore", "drivers",
                                           "logfiles", "spool"};
    char first[PATH_BUFFER_SIZE];
    MbCopy(first, sizeof first, rest);
    char* slash = (char*)MbFindChar(first, '\\');
    if (!slash) return false;  // a file of the system folder itself
    *slash = 0;
    for (const char* folder : kFolders)
        if (MbSameNoCase(first, folder)) return true;
    return false;
}

// The part of `path` after the system folder ("\\name..."), or null when
// the path does not lie below it.
const char* BelowSystemFolder(const char* path, char* form, size_t size) {
    char system[PATH_BUFFER_SIZE], system_form[PATH_BUFFER_SIZE];
    UINT length = GetSystemDirectoryA(system, sizeof system);
    if (!length || length >= sizeof system) return nullptr;
    if (!FullPathForm(system, system_form, sizeof system_form) || !FullPathForm(path, form, size) ||
        !IsSameOrBelow(form, system_form))
        return nullptr;
    const char* rest = form + strlen(system_form);
    return *rest == '\\' ? rest : nullptr;
}

}  // namespace

RedirectedPath Wow64RedirectedPath(const char* path, char* out, size_t size) {
    char form[PATH_BUFFER_SIZE];
    if (!RunsUnderWow64()) return PathNotRedirected;
    const char* rest = BelowSystemFolder(path, form, sizeof form);
    if (!rest || SeenNatively(rest + 1)) return PathNotRedirected;
    GetWow64DirectoryFn get_folder = Kernel32Function<GetWow64DirectoryFn>("GetSystemWow64DirectoryA");
    char folder[PATH_BUFFER_SIZE];
    UINT length = get_folder ? get_folder(folder, sizeof folder) : 0;
    if (!length || length >= sizeof folder || length + strlen(rest) >= size) return PathNotFound;
    memcpy(out, folder, length);
    memcpy(out + length, rest, strlen(rest) + 1);
    return PathRedirected;
}

NativeFileView EnterNativeViewFor(const char* path) {
    NativeFileView view = {false, nullptr};
    AskViewFacts();
    if (view_memory.disable && LiesInSystemDrivers(path))
        view.turned_off = view_memory.disable(&view.previous) != FALSE;
    return view;
}

RememberNativeView::RememberNativeView() {
    if (view_memory.scopes++) return;
    view_memory.known = false;
}

RememberNativeView::~RememberNativeView() {
    if (--view_memory.scopes == 0) view_memory.known = false;
}

// The last error of the call made in the view is kept for the caller.
void LeaveNativeView(const NativeFileView& view) {
    if (!view.turned_off) return;
    RevertRedirectionFn revert =
        Kernel32Function<RevertRedirectionFn>("Wow64RevertWow64FsRedirection");
    DWORD error = GetLastError();
    if (revert) revert(view.previous);
    SetLastError(error);
}
