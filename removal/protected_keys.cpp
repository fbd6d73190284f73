// The registry keys no description can have deleted, and why. One typing
// error in a vendor's setup, or one hostile description, must not stop
// Windows from starting.
//
// | Refused                                             | Why                                  |
// |-----------------------------------------------------|--------------------------------------|
// | a hive root, or a key of its first level (SOFTWARE, | every program's and Windows' own     |
// | SYSTEM, HARDWARE, SAM, SECURITY, ...)               | settings live there                  |
// | the keys in kSystemKeys (Microsoft, Classes, the    | Windows owns them; a product only    |
// | Uninstall and Run keys, the control sets, ...)      | ever owns keys below them            |
//
// Paths are compared piece by piece without regard to letter case, doubled
// and trailing backslashes ignored; "SOFTWARE\Wow6432Node\X" counts as
// "SOFTWARE\X".
#include "removal/protected_keys.h"

#include "platform/mbtext.h"

namespace {

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
