// The folders no description can have emptied or removed, and why.
//
// | Refused                                             | Why                                  |
// |-----------------------------------------------------|--------------------------------------|
// | a drive's root, the Windows, system and Program     | a folder, not an installed file      |
// | Files folders and the folders that hold them        |                                      |
// | a wildcard with no literal character before its     | "*.dll" in the system folder would   |
// | extension in the Windows or system folder (or       | take the system with it; in the      |
// | below), a drive's root or Program Files itself      | product's own folder it is fine      |
// | a wildcard in a folder not given in full            | it would search wherever the program |
// |                                                     | was started                          |
//
// Folders are compared in their full form and in their 8.3 spelling.
#include "removal/protected_folders.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "uninstall_data/registry_read.h"

namespace {

const int kMaxPlaces = 10;

// The folders Windows names, each in its full form and its 8.3 form.
// `subfolders` tells that the wildcard rule holds below it too.
struct Places {
    char form[kMaxPlaces][PATH_BUFFER_SIZE];
    bool subfolders[kMaxPlaces];
    int count;
};

void AddForm(Places& places, const char* path, bool subfolders) {
    if (places.count == kMaxPlaces) return;
    if (!FullPathForm(path, places.form[places.count], PATH_BUFFER_SIZE)) return;
    places.subfolders[places.count++] = subfolders;
}

// Fills `out` with the 8.3 spelling of an existing path; false otherwise.
bool ShortSpelling(const char* path, char* out) {
    DWORD length = GetShortPathNameA(path, out, PATH_BUFFER_SIZE);
    return length && length < PATH_BUFFER_SIZE;
}

void AddPlace(Places& places, const char* path, bool subfolders) {
    if (!path[0]) return;
    AddForm(places, path, subfolders);
    char short_path[PATH_BUFFER_SIZE];
    if (ShortSpelling(path, short_path)) AddForm(places, short_path, subfolders);
}

void AddDirectory(Places& places, UINT length, const char* path) {
    if (length && length < PATH_BUFFER_SIZE) AddPlace(places, path, true);
}

// Both views of Program Files on 64-bit Windows; only the one before.
void AddProgramFiles(Places& places) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", &key) !=
        ERROR_SUCCESS)
        return;
    static const char* const kNames[] = {"ProgramFilesDir", "ProgramW6432Dir"};
    char path[PATH_BUFFER_SIZE];
    for (const char* name : kNames) {
        ReadTextValue(key, name, path, sizeof path);
        AddPlace(places, path, false);
    }
    RegCloseKey(key);
}

// The shared and the user's own Windows folder (they differ on a terminal
// server), the system folder and Program Files.
void FindPlaces(Places& places) {
    char path[PATH_BUFFER_SIZE];
    places.count = 0;
    AddDirectory(places, GetSystemWindowsDir(path, sizeof path), path);
    AddDirectory(places, GetWindowsDirectoryA(path, sizeof path), path);
    AddDirectory(places, GetSystemDirectoryA(path, sizeof path), path);
    AddProgramFiles(places);
}

// A path's full form and its 8.3 one; how many could be made.
int FormsOf(const char* path, char forms[2][PATH_BUFFER_SIZE]) {
    if (!FullPathForm(path, forms[0], PATH_BUFFER_SIZE)) return 0;
    char short_path[PATH_BUFFER_SIZE];
    bool spelled = ShortSpelling(path, short_path) && FullPathForm(short_path, forms[1], PATH_BUFFER_SIZE);
    return spelled ? 2 : 1;
}

// A place that is the folder or lies below it.
bool HoldsPlace(const Places& places, const char* form) {
    if (IsRootForm(form)) return true;
    for (int i = 0; i < places.count; ++i)
        if (IsSameOrBelow(places.form[i], form)) return true;
    return false;
}

// A root, a Windows or system folder or below, or Program Files itself.
bool IsSweepProtected(const Places& places, const char* form) {
    if (IsRootForm(form)) return true;
    for (int i = 0; i < places.count; ++i) {
        bool below = places.subfolders[i] && IsSameOrBelow(form, places.form[i]);
        if (below || MbSameNoCase(form, places.form[i])) return true;
    }
    return false;
}

// Wildcards of FindFirstFileA; the NT family also takes '<', '>' and '"'.
bool IsWildcard(char c) { return c == '*' || c == '?' || c == '<' || c == '>' || c == '"'; }

bool HasWildcard(const char* name) {
    for (const char* p = name; *p; p = MbNext(p))
        if (IsWildcard(*p)) return true;
    return false;
}

// "*.*", "*", "*.dll", "?.sys": nothing but wildcards, dots and blanks
// before the last dot.
bool HasLiteralBeforeExtension(const char* name) {
    const char* dot = MbFindLastChar(name, '.');
    for (const char* p = name; *p && p != dot; p = MbNext(p))
        if (!IsWildcard(*p) && *p != '.' && *p != ' ') return true;
    return false;
}

const char* LastSeparator(const char* path) {
    const char* back = MbFindLastChar(path, '\\');
    const char* forward = MbFindLastChar(path, '/');
    return forward && (!back || forward > back) ? forward : back;
}

// The pattern's folder with the separator after it ("C:\\" for "C:\\*").
bool FolderOf(const char* pattern, const char* slash, char* folder) {
    size_t length = (size_t)(slash - pattern) + 1;
    if (length >= PATH_BUFFER_SIZE) return false;
    memcpy(folder, pattern, length);
    folder[length] = 0;
    return true;
}

}  // namespace

bool IsProtectedFolder(const char* path) {
    char forms[2][PATH_BUFFER_SIZE];
    int count = FormsOf(path, forms);
    if (count == 0) return true;  // not given in full: cannot tell where it is
    Places places;
    FindPlaces(places);
    for (int i = 0; i < count; ++i)
        if (HoldsPlace(places, forms[i])) return true;
    return false;
}

bool IsProtectedPattern(const char* pattern) {
    const char* slash = LastSeparator(pattern);
    const char* name = slash ? slash + 1 : pattern;
    if (!HasWildcard(name)) return false;
    if (!slash) return true;
    char folder[PATH_BUFFER_SIZE];
    if (!FolderOf(pattern, slash, folder)) return true;
    char forms[2][PATH_BUFFER_SIZE];
    int count = FormsOf(folder, forms);
    if (count == 0) return true;
    if (HasLiteralBeforeExtension(name)) return false;
    Places places;
    FindPlaces(places);
    for (int i = 0; i < count; ++i)
        if (IsSweepProtected(places, forms[i])) return true;
    return false;
}
