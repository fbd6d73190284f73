// Asking the shell where its special folders are, on every shell from the
// first Windows 95 and NT 4 on.
#include "removal/special_folders.h"

#include "removal/shell_id_lists.h"
#include "system/library_calls.h"
#include "system/run_time_functions.h"
#include "system/system_library.h"

namespace {

// Not in the shell of the first Windows 95 and NT 4: looked up at run time.
typedef decltype(&::SHGetSpecialFolderPathA) SpecialFolderPathFn;

// The item-id list belongs to the shell's allocator.
bool FolderFromIdList(int csidl, char* folder) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(FolderIdList(csidl, &list)) || !list) return false;
    bool found = PathOfIdList(list, folder);
    LPMALLOC allocator = nullptr;
    if (SUCCEEDED(ShellAllocator(&allocator)) && allocator) {
        allocator->Free(list);
        allocator->Release();
    }
    return found;
}

}  // namespace

bool GetSpecialFolder(int csidl, char* folder) {
    HMODULE shell = LoadSystemLibrary("shell32.dll");
    if (!shell) return false;
    SpecialFolderPathFn call;
    FindFunction(shell, "SHGetSpecialFolderPathA", &call);
    bool found = call ? call(GetDesktopWindow(), folder, csidl, FALSE) != FALSE
                      : FolderFromIdList(csidl, folder);
    FreeSystemLibrary(shell);
    folder[MAX_PATH - 1] = 0;
    return found && folder[0];
}
