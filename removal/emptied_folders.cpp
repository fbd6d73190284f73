// Emptied folders: a product's folder should not outlive its files. Only a
// folder that held a file the removal deleted is a candidate, and only
// while it is empty, so a user's own file keeps its folder and every
// parent; the guardrails' folders (the Windows folder and all below it
// among them) are never touched.
#include "removal/emptied_folders.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/guardrails/protected_folders.h"
#include "removal/system_changes.h"
#include "system/windows_family.h"

namespace {

// A handful of folders per product; more are left as they are.
const int kMaxNoted = 64;

struct PathTable {
    char path[kMaxNoted][PATH_BUFFER_SIZE];
    int count;
};

PathTable noted_folders;   // folders that held a removed file
PathTable restart_files;   // files whose deletion waits for the restart
PathTable restart_folders; // folders left for the restart after them

bool Holds(const PathTable& table, const char* path) {
    for (int i = 0; i < table.count; ++i)
        if (MbSameNoCase(table.path[i], path)) return true;
    return false;
}

void Add(PathTable& table, const char* path) {
    if (table.count == kMaxNoted || Holds(table, path)) return;
    MbCopy(table.path[table.count++], PATH_BUFFER_SIZE, path);
}

// The folder part of `path` without its last separator; false for a name
// without a folder or a drive's root.
bool ParentOf(const char* path, char* parent) {
    if (!FolderPart(path, parent) || !parent[0]) return false;
    return parent[strlen(parent) - 1] != ':';
}

int Depth(const char* path) {
    int depth = 0;
    for (const char* p = path; *p; p = MbNext(p)) depth += *p == '\\';
    return depth;
}

// Deepest first, so that a child goes before the parent it empties.
void SortDeepestFirst(PathTable& table) {
    for (int i = 1; i < table.count; ++i)
        for (int j = i; j > 0 && Depth(table.path[j]) > Depth(table.path[j - 1]); --j) {
            char swap[PATH_BUFFER_SIZE];
            memcpy(swap, table.path[j], PATH_BUFFER_SIZE);
            memcpy(table.path[j], table.path[j - 1], PATH_BUFFER_SIZE);
            memcpy(table.path[j - 1], swap, PATH_BUFFER_SIZE);
        }
}

enum FolderState { FolderEmpty, FolderEmptyAfterRestart, FolderHolding };

// What an entry of the folder means for its removal: nothing left but what
// the restart takes away counts as empty after the restart.
FolderState StateOfEntry(const char* folder, const WIN32_FIND_DATAA& found) {
    const char* name = found.cFileName;
    if (!strcmp(name, ".") || !strcmp(name, "..")) return FolderEmpty;
    char path[PATH_BUFFER_SIZE];
    if (strlen(folder) + 1 + strlen(name) >= sizeof path) return FolderHolding;
    wsprintfA(path, "%s\\%s", folder, name);
    bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (Holds(is_folder ? restart_folders : restart_files, path)) return FolderEmptyAfterRestart;
    return FolderHolding;
}

FolderState StateOf(const char* folder) {
    char pattern[PATH_BUFFER_SIZE];
    if (strlen(folder) + 4 >= sizeof pattern) return FolderHolding;
    wsprintfA(pattern, "%s\\*.*", folder);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return FolderHolding;  // gone, or unreadable
    FolderState state = FolderEmpty;
    do {
        FolderState entry = StateOfEntry(folder, found);
        if (entry > state) state = entry;
    } while (state != FolderHolding && FindNextFileA(find, &found));
    FindClose(find);
    return state;
}

// Removes the folder now or at the restart; false when it stays.
bool RemoveOne(const char* folder, DWORD family) {
    if (Holds(restart_folders, folder)) return false;  // so are its parents
    FolderState state = StateOf(folder);
    // Kept only outside a preview: a folder that is not empty goes on to
    // the restart's turn below.
    ChangeOutcome removed = RemoveFolderIfEmpty(folder, state == FolderEmpty).outcome;
    if (removed != ChangeKept) return ChangeMadeOrPreviewed(removed);
    // Windows 9x's WININIT.INI deletes files, not folders.
    if (state != FolderEmptyAfterRestart || IsWin9xFamily(family)) return false;
    if (RemoveFolderAtRestart(folder).outcome != ChangeScheduled) return false;
    Add(restart_folders, folder);
    return true;
}

// The folder, then each parent it leaves empty, up to the first that stays.
void RemoveWithParents(const char* start, DWORD family) {
    char folder[PATH_BUFFER_SIZE];
    MbCopy(folder, sizeof folder, start);
    while (!EmptiedFolderRefusal(folder) && RemoveOne(folder, family)) {
        char parent[PATH_BUFFER_SIZE];
        if (!ParentOf(folder, parent)) return;
        MbCopy(folder, sizeof folder, parent);
    }
}

}  // namespace

void NoteFileRemoved(const char* path, bool at_restart) {
    char folder[PATH_BUFFER_SIZE];
    if (!ParentOf(path, folder)) return;
    Add(noted_folders, folder);
    if (at_restart) Add(restart_files, path);
}

// The protected places are gathered once for all the folders: removing a
// folder the run emptied never changes one of them.
void RemoveEmptiedFolders(DWORD family) {
    RememberProtectedPlaces places;
    SortDeepestFirst(noted_folders);
    for (int i = 0; i < noted_folders.count; ++i) RemoveWithParents(noted_folders.path[i], family);
    noted_folders.count = restart_files.count = restart_folders.count = 0;
}
