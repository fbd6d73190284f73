// Files that several programs install. Windows counts each such file's
// programs under SharedDLLs, a number value named by the file's full path
// as its setup gave it. A file another program still uses stays and its
// count is lowered by one; the last program's file goes with its value.
#pragma once

#include "platform/platform.h"
#include "removal/path_macros.h"

// The counts of one step: SharedDLLs, open for the step (null when there
// is none), and the files whose count the step has lowered already, so
// that a file two entries name is counted once. The other spellings of the
// folder last asked about are kept: every file of a folder shares them.
struct SharedFiles {
    HKEY key;
    char (*released)[PATH_BUFFER_SIZE];
    size_t released_count;
    size_t released_room;
    char folder[PATH_BUFFER_SIZE];        // as the step gave it
    char short_folder[PATH_BUFFER_SIZE];  // its 8.3 form, or empty
    char wow64_folder[PATH_BUFFER_SIZE];  // where a 32-bit setup saw it, or empty
    char uncounted[PATH_BUFFER_SIZE];     // the file last found without a count
};

void OpenSharedFiles(SharedFiles* shared);
// Closes the key and frees the list.
void CloseSharedFiles(SharedFiles* shared);

// True when another program still uses the file: its count (above 1) is
// lowered by one, once in the step, and the file must stay. A count of 1
// or 0, or none, leaves the file to be deleted; so does a file refused
// where it is, which keeps its count (its change is refused and said).
// The count is looked up under every spelling a setup may have used: the
// path as given, its full and 8.3 forms (`found` gives the 8.3 name), and
// on 64-bit Windows the SysWOW64 form of a file in the system folder.
bool KeepForOtherPrograms(SharedFiles* shared, const char* path, const WIN32_FIND_DATAA& found);
// The file is gone, or will be at the next start: its count goes with it.
void ForgetSharedFile(SharedFiles* shared, const char* path, const WIN32_FIND_DATAA& found);
