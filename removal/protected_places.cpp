// What the removal refuses to change, and why. One typing error in a
// vendor's setup, or one hostile description, must not stop Windows from
// starting.
//
// | Refused                                             | Why                                  |
// |-----------------------------------------------------|--------------------------------------|
// | a hive root, or a key of its first level (SOFTWARE, | every program's and Windows' own     |
// | SYSTEM, HARDWARE, SAM, SECURITY, ...)               | settings live there                  |
// | the keys in kSystemKeys (Microsoft, Classes, the    | Windows owns them; a product only    |
// | Uninstall and Run keys, the control sets, ...)      | ever owns keys below them            |
// | a drive's root, the Windows, system and Program     | a folder, not an installed file      |
// | Files folders and the folders that hold them        |                                      |
// | a wildcard with no literal character before its     | "*.dll" in the system folder would   |
// | extension in the Windows or system folder (or       | take the system with it; in the      |
// | below), a drive's root or Program Files itself      | product's own folder it is fine      |
// | a wildcard in a folder not given in full            | it would search wherever the program |
// |                                                     | was started                          |
//
// Registry paths are compared piece by piece without regard to letter case,
// doubled and trailing backslashes ignored; "SOFTWARE\Wow6432Node\X" counts
// as "SOFTWARE\X". Folders are compared in their full form and in their 8.3
// spelling.
#include "removal/protected_places.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "uninstall_data/registry_read.h"

namespace {

// --- Registry ---

// '#' stands for a control set: "CurrentControlSet" or "ControlSet001"...
const char* const kSystemKeys[] = {
    "SOFTWARE\\Microsoft",
    "SOFTWARE\\Classes",
    "SOFTWARE\\Policies",
    "SOFTWARE\\Microsoft\\Windows",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "SOFTWARE\\Microsoft\\Windows NT",
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
    "SOFTWARE\\Wine",  // where Wine plays Windows, its own settings
    "SYSTEM\\#",
    "SYSTEM\\#\\Services",
    "SYSTEM\\#\\Control",
    "SYSTEM\\#\\Control\\Class",
    "SYSTEM\\#\\Enum",
    "SYSTEM\\#\\Hardware Profiles",
};
const int kDeepestSystemKey = 5;

struct Piece {
    const char* text;
    size_t length;
};

// The first pieces of a key path (kDeepestSystemKey + 1 are enough to
// compare) and how many there are in all.
struct KeyPieces {
    Piece piece[kDeepestSystemKey + 1];
    int count;
};

void AddKeyPieces(KeyPieces& key, const char* path) {
    const char* p = path;
    while (*p) {
        while (*p == '\\') ++p;
        const char* start = p;
        while (*p && *p != '\\') p = MbNext(p);
        if (p == start) continue;
        if (key.count <= kDeepestSystemKey) key.piece[key.count] = {start, (size_t)(p - start)};
        ++key.count;
    }
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

// Key names hold no lead bytes of their own in the table, so a byte-wise
// comparison cannot match a double-byte character by halves.
bool SameText(const Piece& piece, const char* text, size_t length) {
    if (piece.length != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (FoldAscii(piece.text[i]) != FoldAscii(text[i])) return false;
    return true;
}

bool IsControlSet(const Piece& piece) {
    if (SameText(piece, "CurrentControlSet", 17)) return true;
    if (piece.length != 13 || !SameText({piece.text, 10}, "ControlSet", 10)) return false;
    for (size_t i = 10; i < 13; ++i)
        if (piece.text[i] < '0' || piece.text[i] > '9') return false;
    return true;
}

bool PieceMatches(const Piece& piece, const char* pattern, size_t length) {
    if (length == 1 && pattern[0] == '#') return IsControlSet(piece);
    return SameText(piece, pattern, length);
}

bool KeyMatches(const KeyPieces& key, const char* entry) {
    int i = 0;
    for (const char* p = entry; *p; ++i) {
        const char* end = strchr(p, '\\');
        size_t length = end ? (size_t)(end - p) : strlen(p);
        if (i >= key.count || !PieceMatches(key.piece[i], p, length)) return false;
        p += length + (end ? 1 : 0);
    }
    return i == key.count;
}

// A 32-bit program's view of SOFTWARE on 64-bit Windows.
void FoldWow64Node(KeyPieces& key) {
    if (key.count < 2 || !SameText(key.piece[0], "SOFTWARE", 8) ||
        !SameText(key.piece[1], "Wow6432Node", 11))
        return;
    for (int i = 1; i < kDeepestSystemKey; ++i) key.piece[i] = key.piece[i + 1];
    --key.count;
}

// --- Folders ---

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

bool IsProtectedKey(const char* parent_path, const char* name) {
    KeyPieces key;
    key.count = 0;
    AddKeyPieces(key, parent_path ? parent_path : "");
    AddKeyPieces(key, name ? name : "");
    FoldWow64Node(key);
    if (key.count <= 1) return true;
    for (const char* entry : kSystemKeys)
        if (KeyMatches(key, entry)) return true;
    return false;
}

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
