// Files that several programs install. Windows counts each such file's
// programs under SharedDLLs, a number value named by the file's full path
// as its setup gave it. A file another program still uses stays and its
// count is lowered by one; the last program's file goes with its value.
#pragma once

#include "platform/platform.h"
#include "removal/path_macros.h"

// The counts of one step: SharedDLLs, open for the step (null when there
// is none), and the files whose count the step has lowered already, so
// that a file two entries name is counted once.
struct SharedFiles {
    HKEY key;
    char (*released)[PATH_BUFFER_SIZE];
    size_t released_count;
    size_t released_room;
};

void OpenSharedFiles(SharedFiles* shared);
// Closes the key and frees the list.
void CloseSharedFiles(SharedFiles* shared);

// True when another program still uses the file: its count (above 1) is
// lowered by one, once in the step, and the file must stay. A count of 1
// or 0, or none, leaves the file to be deleted.
bool KeepForOtherPrograms(SharedFiles* shared, const char* path);
// The file is gone, or will be at the next start: its count goes with it.
void ForgetSharedFile(SharedFiles* shared, const char* path);
