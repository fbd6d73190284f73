// A file changed as the object that was judged: on the NT family its
// folder is opened and held (no link followed, not to be renamed while
// held) and judged by that handle, then the file itself is opened without
// following a link, judged, and deleted through its handle. Windows 9x has
// no links: there the path is enough.
#pragma once

#include "platform/platform.h"

enum HeldUse {
    HeldToDelete,  // deleted through the handle
    HeldToLookAt,  // held while a change by path is made (attributes, a
                   // deletion at the restart): nobody renames or replaces it
};

struct HeldFile {
    const char* path;
    HANDLE folder;  // INVALID_HANDLE_VALUE where nothing is held
    HANDLE file;
    bool deleted_on_close;  // the open itself was the deletion
    decltype(&SetFileInformationByHandle) disposition;  // null before Vista
};

// The one 9x/NT difference: only the NT family has links, and opens
// folders, so only there is a change made through handles.
bool ChangesThroughHandles();

// Holds the file for `use`: null with the file held, or the reason of a
// refusal (nothing held), or null with `*error` set to the system's error
// (nothing held). `through_handles` is ChangesThroughHandles(), which the
// caller has asked once for the whole change.
const char* HoldFile(const char* path, HeldUse use, bool through_handles, HeldFile* held, DWORD* error);
// Deletes the file held for deletion and lets it go: 0 or the system's
// error.
DWORD DeleteHeldFile(HeldFile* held);
void ReleaseHeldFile(HeldFile* held);

// While one lives, the calls by handle that Windows may lack are looked
// up once for all the files of a search, not once for each, and the id of
// the first folder judged in full is kept: each later file's folder, held
// and opened again, is known by that id as the very same object.
struct HeldSearch {
    HeldSearch();
    ~HeldSearch();
};

// A folder about to be removed, looked at itself without following a
// link: the reason of a refusal, or null.
const char* FolderLinkRefusal(const char* path);
