// The registry keys no description can have deleted, and why. One typing
// error in a vendor's setup, or one hostile description, must not stop
// Windows from starting.
//
// | Refused                                      | Why                                   |
// |----------------------------------------------|---------------------------------------|
// | a hive root, or a key of its first level     | every program's and Windows' own      |
// | (SOFTWARE, SYSTEM, HARDWARE, SAM, ...)       | settings live there                   |
// | any key inside Windows' trees (kWindowsTrees: | Windows owns them; a product owns     |
// | SOFTWARE\Microsoft, SOFTWARE\Classes,        | only the places below, and the keys   |
// | SOFTWARE\Policies, SOFTWARE\Clients,         | below them. These are the top keys    |
// | SOFTWARE\RegisteredApplications, ...\ODBC,   | Windows itself keeps in SOFTWARE, 95  |
// | NT's SOFTWARE\Description, \Secure, \Program | to 11; a computer maker's (Intel,     |
// | Groups, \Windows 3.1 Migration Status, 10's  | OEM) is not Windows' and is judged    |
// | \DefaultUserEnvironment, SYSTEM, HARDWARE,   | as any vendor's key                   |
// | SAM, SECURITY, 9x's Enum and Config) but:    |                                       |
// |   - an uninstall entry, ...\CurrentVersion\  | the product's own registration        |
// |     Uninstall\<entry>                        |                                       |
// |   - a service key, SYSTEM\#\Services\<name>, | unless the service runs in a shared   |
// |     or a 9x VxD entry, ...\Services\VxD\<n>  | process or its program is Windows'    |
// |                                              | own (protected_services.h), and for a |
// |                                              | service, unless evidence ties it to   |
// |                                              | the product (service_evidence.h)      |
// |   - an event-log source,                     | the product's own messages            |
// |     SYSTEM\#\Services\Eventlog\<log>\<source>|                                       |
// | SOFTWARE\Wine and below                      | where Wine plays Windows, its own     |
//
// Paths are compared piece by piece without regard to letter case, doubled
// and trailing backslashes ignored; "SOFTWARE\Wow6432Node\X" counts as
// "SOFTWARE\X". '#' stands for a control set: "CurrentControlSet" or
// "ControlSet001"..., '*' for any one key.
#include "removal/guardrails/protected_keys.h"

#include "platform/mbtext.h"
#include "removal/guardrails/protected_services.h"
#include "removal/guardrails/service_evidence.h"

namespace {

const char* const kWindowsTrees[] = {
    "SOFTWARE\\Microsoft", "SOFTWARE\\Classes", "SOFTWARE\\Policies", "SOFTWARE\\Wine",
    // What else Windows keeps at the top of SOFTWARE: the default programs,
    // the database drivers, NT's RPC, security and Program Manager keys,
    // and Windows 10's default environment.
    "SOFTWARE\\Clients", "SOFTWARE\\RegisteredApplications", "SOFTWARE\\Registered Applications",
    "SOFTWARE\\ODBC", "SOFTWARE\\Description", "SOFTWARE\\Secure", "SOFTWARE\\Program Groups",
    "SOFTWARE\\Windows 3.1 Migration Status", "SOFTWARE\\DefaultUserEnvironment",
    "SYSTEM", "HARDWARE", "SAM", "SECURITY",
    "Enum", "Config",  // Windows 9x's devices and hardware profiles
};

const char kUninstallEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\*";
const char kServicesChild[] = "SYSTEM\\#\\Services\\*";

const char kRootReason[] = "a hive root or a key of its first level";
const char kWindowsKeyReason[] = "a key Windows owns";
const char kEventLogReason[] = "an event log of Windows: only its sources are a product's";
const char kDeviceClassReason[] = "Windows 9x's device classes: the device tools judge those";

const int kDeepestPiece = 6;

struct Piece {
    const char* text;
    size_t length;
};

// The first pieces of a key path (enough to compare) and how many there
// are in all.
struct KeyPieces {
    Piece piece[kDeepestPiece + 1];
    int count;
};

void AddKeyPieces(KeyPieces& key, const char* path) {
    const char* p = path;
    while (*p) {
        while (*p == '\\') ++p;
        const char* start = p;
        while (*p && *p != '\\') p = MbNext(p);
        if (p == start) continue;
        if (key.count <= kDeepestPiece) key.piece[key.count] = {start, (size_t)(p - start)};
        ++key.count;
    }
}

// Key names hold no lead bytes of their own in the tables, so a byte-wise
// comparison cannot match a double-byte character by halves.
bool SameText(const Piece& piece, const char* text, size_t length) {
    if (piece.length != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (FoldAscii(piece.text[i]) != FoldAscii(text[i])) return false;
    return true;
}

bool SameText(const Piece& piece, const char* text) { return SameText(piece, text, strlen(text)); }

bool IsControlSet(const Piece& piece) {
    if (SameText(piece, "CurrentControlSet", 17)) return true;
    if (piece.length != 13 || !SameText({piece.text, 10}, "ControlSet", 10)) return false;
    for (size_t i = 10; i < 13; ++i)
        if (piece.text[i] < '0' || piece.text[i] > '9') return false;
    return true;
}

bool PieceMatches(const Piece& piece, const char* pattern, size_t length) {
    if (length == 1 && pattern[0] == '#') return IsControlSet(piece);
    if (length == 1 && pattern[0] == '*') return true;
    return SameText(piece, pattern, length);
}

// True when the key is `pattern` or lies below it.
bool KeyIsAtOrBelow(const KeyPieces& key, const char* pattern) {
    int i = 0;
    for (const char* p = pattern; *p; ++i) {
        const char* end = strchr(p, '\\');
        size_t length = end ? (size_t)(end - p) : strlen(p);
        if (i >= key.count || !PieceMatches(key.piece[i], p, length)) return false;
        p += length + (end ? 1 : 0);
    }
    return true;
}

// A 32-bit program's view of SOFTWARE on 64-bit Windows.
void FoldWow64Node(KeyPieces& key) {
    if (key.count < 2 || !SameText(key.piece[0], "SOFTWARE", 8) ||
        !SameText(key.piece[1], "Wow6432Node", 11))
        return;
    for (int i = 1; i < kDeepestPiece; ++i) key.piece[i] = key.piece[i + 1];
    --key.count;
}

bool InWindowsTree(const KeyPieces& key) {
    for (const char* tree : kWindowsTrees)
        if (KeyIsAtOrBelow(key, tree)) return true;
    return false;
}

// The first `count` pieces joined by backslashes; false when they do not fit.
bool JoinPieces(const KeyPieces& key, int count, char* out, size_t size) {
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        const Piece& piece = key.piece[i];
        if (used + piece.length + 2 > size) return false;
        if (i) out[used++] = '\\';
        memcpy(out + used, piece.text, piece.length);
        used += piece.length;
    }
    out[used] = 0;
    return true;
}

// A key at or below SYSTEM\#\Services\<name>: a service, a VxD entry on
// Windows 9x, an event log's source, or Windows' own.
const char* ServicesChildRefusal(const KeyPieces& key) {
    const Piece& child = key.piece[3];
    if (SameText(child, "Eventlog")) return key.count >= 6 ? nullptr : kEventLogReason;
    if (SameText(child, "Class")) return kDeviceClassReason;
    bool vxd = SameText(child, "VxD");
    if (vxd && key.count < 5) return kWindowsKeyReason;
    char services[TAVK_SERVICE_PATH_SIZE], name[TAVK_SERVICE_PATH_SIZE];
    if (!JoinPieces(key, 3, services, sizeof services)) return kWindowsKeyReason;
    const Piece& entry = key.piece[vxd ? 4 : 3];
    if (entry.length >= sizeof name) return kWindowsKeyReason;
    memcpy(name, entry.text, entry.length);
    name[entry.length] = 0;
    if (vxd) return VxdRefusalIn(services, name);
    if (const char* reason = ServiceRefusalIn(services, name)) return reason;
    return ServiceEvidenceRefusal(services, name);
}

}  // namespace

const char* KeyRefusal(const char* parent_path, const char* name) {
    KeyPieces key;
    key.count = 0;
    AddKeyPieces(key, parent_path ? parent_path : "");
    AddKeyPieces(key, name ? name : "");
    FoldWow64Node(key);
    if (key.count <= 1) return kRootReason;
    if (!InWindowsTree(key)) return nullptr;
    if (KeyIsAtOrBelow(key, kUninstallEntry)) return nullptr;
    if (KeyIsAtOrBelow(key, kServicesChild)) return ServicesChildRefusal(key);
    return kWindowsKeyReason;
}

bool IsProtectedKey(const char* parent_path, const char* name) {
    return KeyRefusal(parent_path, name) != nullptr;
}
