// What a folder is, as the file system tells it, so that two spellings of
// one folder (a short name, another drive letter that reaches it) are
// known as one.
#pragma once

#include "platform/platform.h"

struct FolderIdentity {
    bool has_id;  // the NT family: volume serial, folder index, creation time
    DWORD volume;
    DWORD index_high;
    DWORD index_low;
    FILETIME created;
    char full[MAX_PATH];        // GetFullPathNameA's form; empty when too long
    char short_form[MAX_PATH];  // GetShortPathNameA's; empty when missing
};

// Fills `identity` for the full form of a folder (it need not exist).
void IdentifyFolder(const char* full_form, FolderIdentity& identity);

// True when both name the same folder: by their ids where both have one,
// otherwise when a full or 8.3 form of one is a form of the other. Another
// drive letter on a folder may report another volume serial (a system may
// make a letter's serial up): where the serials differ, the same index and
// creation time still make one folder, so that no spelling of a protected
// folder is taken for another place.
bool IsSameFolder(const FolderIdentity& a, const FolderIdentity& b);
