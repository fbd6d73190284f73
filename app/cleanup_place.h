// The cleanup copy's own place: a new folder whose name is drawn at random
// and which is created fresh (a name already there, whatever holds it, is
// passed over), and the files in it, each created new. When the program
// runs as an administrator on the NT family the folder lies below the
// Windows temporary folder, and it and its files let only administrators
// and the system in; elsewhere it lies below the user's temporary folder.
#pragma once

#include "platform/platform.h"
#include "removal/path_macros.h"
#include "system/admin_only_access.h"

struct CleanupPlace {
    char folder[PATH_BUFFER_SIZE];  // ends in a backslash
    bool restricted;                // the admin-only descriptor applies
    AdminOnlyAccess access;
};

// The copy's file name, and the hand-over list's beside it.
const char kCleanupCopyName[] = "xlnclean.exe";
const char kHandOverListName[] = "xlnclean.lst";

// Creates the folder; false when no fresh one could be made.
bool MakeCleanupPlace(CleanupPlace* place);
// Gives back the descriptor; the folder stays for the copy.
void FreeCleanupPlace(CleanupPlace* place);

// A new file `name` in the folder, open for reading and writing, shared for
// reading only; its path in `path`. Never opens what is already there.
HANDLE CreateFileInPlace(CleanupPlace* place, const char* name, bool inheritable, char* path);

// Writes the copy from the program's own image and reads it back against
// the image. The copy's path is put in `copy`; the handle returned holds
// it for reading, so that it cannot change before it starts: close it
// once it has. INVALID_HANDLE_VALUE when it could not be made whole (what
// was written is deleted).
HANDLE WriteProgramCopy(CleanupPlace* place, char* copy);
