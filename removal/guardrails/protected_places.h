// The folders Windows and its shell name, gathered from the system itself:
// what protected_folders.h guards.
#pragma once

#include "removal/guardrails/folder_identity.h"

const int kMaxProtectedPlaces = 112;

// What is guarded below a place, weakest first: where one folder is named
// twice, the stronger kind holds.
enum PlaceKind {
    PlaceItself,    // only the folder: products live below it (Program Files)
    PlaceAllUsers,  // the all-users data folder: sweeping patterns refused below
    PlaceProfile,   // a user's profile, or the profiles' folder: the same
    PlaceWindows,   // Windows' own: emptied folders below it stay too
};

struct ProtectedPlace {
    FolderIdentity identity;
    PlaceKind kind;
};

struct ProtectedPlaces {
    ProtectedPlace place[kMaxProtectedPlaces];
    int count;
};

// Fills the table: the Windows, system, drivers and SysWOW64 folders, both
// Program Files and Common Files folders, Windows' folders below them, the
// shell's special folders, the users' profiles and the all-users data.
void GatherProtectedPlaces(ProtectedPlaces& places);
