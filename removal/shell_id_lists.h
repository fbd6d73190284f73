// The shell's item-id lists of its special folders, the first shell's only
// way to them: a folder's list, the path it names, and the shell's
// allocator that owns it. The unit tests put a stand-in behind this header
// (and the allocator it hands out counts what is freed and released).
#pragma once

#include "platform/platform.h"

// The folder's item-id list, the shell allocator's to free.
HRESULT FolderIdList(int csidl, LPITEMIDLIST* list);
// The path the list names into `folder` (MAX_PATH bytes); false when none.
bool PathOfIdList(LPCITEMIDLIST list, char* folder);
// The shell's allocator, with a reference the caller releases.
HRESULT ShellAllocator(LPMALLOC* allocator);
