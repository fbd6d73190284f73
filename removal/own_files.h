// The running program and the device tools beside it. A description that
// names them cannot have them deleted while the run needs them, so they
// are noted here and left to a copy of the program that runs after this
// process has ended (app/cleanup_copy.h).
#pragma once

#include "platform/platform.h"
#include "removal/path_macros.h"

// What the copy is given of each file: its path, and its size and time of
// last writing as the run found them, so that a file put there meanwhile
// (a new version) is not taken for it.
struct OwnFile {
    char path[PATH_BUFFER_SIZE];
    DWORD size;
    FILETIME written;
};

const int kMaxOwnFiles = 8;

// True when the found file is this running program or one of its device
// tools in its own folder; then it is noted for the copy. Not in `install`:
// a setup that upgrades the product puts its new files there at once.
bool LeaveToCleanupCopy(const char* path, const WIN32_FIND_DATAA& found);

// While one lives, whether a folder is this program's is asked of the file
// system once for each folder in turn (a search's matches share theirs),
// not once for every file: an 8.3 comparison opens each folder on the way.
// This program's own path is asked once.
struct RememberProgramFolder {
    RememberProgramFolder();
    ~RememberProgramFolder();
};

// The files noted so far, in the order they were found.
int OwnFileCount();
const OwnFile& OwnFileAt(int index);
void ForgetOwnFiles();
