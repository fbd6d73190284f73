// The folders Windows and its shell name, gathered from the system itself:
// what protected_folders.h guards.
#pragma once

#include "removal/folder_identity.h"

const int kMaxProtectedPlaces = 112;

struct ProtectedPlace {
    FolderIdentity identity;
    bool below_too;  // Windows' own: sweeping patterns are refused below it too
};

struct ProtectedPlaces {
    ProtectedPlace place[kMaxProtectedPlaces];
    int count;
};

// Fills the table: the Windows, system, drivers and SysWOW64 folders, both
// Program Files and Common Files folders, Windows' folders below them, the
// shell's special folders and the users' profiles.
void GatherProtectedPlaces(ProtectedPlaces& places);
