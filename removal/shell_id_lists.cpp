// The shell's item-id lists, asked of shell32.
#include "removal/shell_id_lists.h"

HRESULT FolderIdList(int csidl, LPITEMIDLIST* list) {
    return SHGetSpecialFolderLocation(GetDesktopWindow(), csidl, list);
}

bool PathOfIdList(LPCITEMIDLIST list, char* folder) { return SHGetPathFromIDListA(list, folder) != FALSE; }

HRESULT ShellAllocator(LPMALLOC* allocator) { return SHGetMalloc(allocator); }
