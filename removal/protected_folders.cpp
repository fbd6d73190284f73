// The folders no description can have emptied or removed, and why.
//
// | Refused                                              | Why                                      |
// |------------------------------------------------------|------------------------------------------|
// | a path not given in full                             | it would be found wherever the program   |
// |                                                      | was started                              |
// | a share, "\\?\", "\\.\" and other device paths, a    | not the machine's own drives: another    |
// | network drive                                        | machine's, or this one's by a back door  |
// | a path through a link or junction                    | it leads somewhere the text does not say |
// | removing a drive's root, a protected folder, or a    | a folder, not an installed file          |
// | folder that holds one                                |                                          |
// | removing an emptied folder inside Windows' own       | Windows keeps its INF, Help and the like |
// | (the Windows, system, drivers folders and below)     | even while they are empty                |
// | a wildcard with fewer than 3 letters before its      | "*.dll" or "*3*.dll" would take the      |
// | first wildcard in a protected folder, in or below    | system with it; "xlnw*.dll" names the    |
// | Windows' own, or in a drive's root                   | product's own files                      |
//
// The protected folders: the Windows, system, drivers and SysWOW64 folders
// and what lies below them, both Program Files and Common Files folders
// (only themselves: products live below them) and Windows' folders in them,
// the shell's special folders and the users' profiles (protected_places.h).
// Folders are compared by identity: volume and index through a handle on
// the NT family, the system's full and 8.3 forms on Windows 9x.
#include "removal/protected_folders.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/protected_places.h"

namespace {

const char kNotInFull[] = "not given in full";
const char kNotLocal[] = "not on a local drive";
const char kThroughLink[] = "reached through a link or junction";
const char kSweep[] = "a sweeping pattern in a protected folder";
const char kRoot[] = "a drive's root";
const char kPlace[] = "a folder Windows needs";
const char kHolder[] = "it holds a folder Windows needs";
const char kInsideWindows[] = "inside a folder Windows needs";

struct Verdict {
    const char* refusal;  // for any change in the folder
    bool guarded;         // sweeping patterns are refused in it
};

const int kRemembered = 8;

// What a scope remembers: the places, and the last folders judged.
struct Memory {
    int scopes;
    bool have_places;
    ProtectedPlaces places;
    char folder[kRemembered][PATH_BUFFER_SIZE];
    Verdict verdict[kRemembered];
    int used;
    int next;
    // The last file's folder as it was written: the next match in it needs
    // not even its full form.
    char written[PATH_BUFFER_SIZE];
    const char* written_refusal;
};
Memory memory;

const ProtectedPlaces& Places() {
    if (memory.scopes && memory.have_places) return memory.places;
    GatherProtectedPlaces(memory.places);
    memory.have_places = memory.scopes > 0;
    return memory.places;
}

// A drive letter whose drive is this machine's.
const char* LocalRefusal(const char* form) {
    if (form[0] == '\\' || form[1] != ':') return kNotLocal;
    char root[4] = {form[0], ':', '\\', 0};
    return GetDriveTypeA(root) == DRIVE_REMOTE ? kNotLocal : nullptr;
}

// Any folder on the way from the root down, the folder itself included.
const char* LinkRefusal(const char* form) {
    char path[PATH_BUFFER_SIZE];
    MbCopy(path, sizeof path, form);
    do {
        if (IsRootForm(path)) return nullptr;
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return kThroughLink;
    } while (CutToParent(path));
    return nullptr;
}

// The place `identity` is, or -1.
int PlaceOf(const ProtectedPlaces& places, const FolderIdentity& identity) {
    for (int i = 0; i < places.count; ++i)
        if (IsSameFolder(places.place[i].identity, identity)) return i;
    return -1;
}

// A root, a place, or below a place that protects what lies below it.
bool IsGuarded(const char* form) {
    if (IsRootForm(form)) return true;
    const ProtectedPlaces& places = Places();
    char path[PATH_BUFFER_SIZE];
    MbCopy(path, sizeof path, form);
    FolderIdentity identity;
    for (bool itself = true; !IsRootForm(path); itself = false) {
        IdentifyFolder(path, identity);
        int place = PlaceOf(places, identity);
        if (place >= 0 && (itself || places.place[place].below_too)) return true;
        if (!CutToParent(path)) break;
    }
    return false;
}

Verdict JudgeNow(const char* form) {
    const char* refusal = LocalRefusal(form);
    if (!refusal) refusal = LinkRefusal(form);
    return Verdict{refusal, !refusal && IsGuarded(form)};
}

Verdict Judge(const char* form) {
    if (!memory.scopes) return JudgeNow(form);
    for (int i = 0; i < memory.used; ++i)
        if (MbSameNoCase(memory.folder[i], form)) return memory.verdict[i];
    int slot = memory.next;
    memory.next = (memory.next + 1) % kRemembered;
    if (memory.used < kRemembered) ++memory.used;
    MbCopy(memory.folder[slot], PATH_BUFFER_SIZE, form);
    return memory.verdict[slot] = JudgeNow(form);
}

bool IsWildcard(char c) { return c == '*' || c == '?' || c == '<' || c == '>' || c == '"'; }

bool HasWildcard(const char* name) {
    for (const char* p = name; *p; p = MbNext(p))
        if (IsWildcard(*p)) return true;
    return false;
}

// Characters before the first wildcard; dots and blanks, which Windows
// drops or which every name may have, do not count.
int LiteralPrefix(const char* name) {
    int count = 0;
    for (const char* p = name; *p && !IsWildcard(*p); p = MbNext(p))
        if (*p != '.' && *p != ' ') ++count;
    return count;
}

// The full form of the folder that holds `path`.
bool FolderForm(const char* path, char* form) {
    return FullPathForm(path, form, PATH_BUFFER_SIZE) && !IsRootForm(form) && CutToParent(form);
}

// The pattern's folder with the separator after it ("C:\" for "C:\*").
bool PatternFolder(const char* pattern, const char* slash, char* folder) {
    size_t length = (size_t)(slash - pattern) + 1;
    if (length >= PATH_BUFFER_SIZE) return false;
    memcpy(folder, pattern, length);
    folder[length] = 0;
    return true;
}

// Whether some place's folder, or a folder above it, is `identity`.
bool HoldsPlace(const ProtectedPlaces& places, const FolderIdentity& identity) {
    FolderIdentity above;
    for (int i = 0; i < places.count; ++i) {
        char path[MAX_PATH];
        MbCopy(path, sizeof path, places.place[i].identity.full);
        while (CutToParent(path)) {
            IdentifyFolder(path, above);
            if (IsSameFolder(above, identity)) return true;
        }
    }
    return false;
}

// "..", "." and the like lead out of the folder they are written in.
bool IsMadeOfDots(const char* name) {
    for (const char* p = name; *p; p = MbNext(p))
        if (*p != '.' && *p != ' ') return false;
    return true;
}

// The text before the last separator, or false when there is none, it
// would not fit, or the name after it leaves the folder.
bool WrittenFolder(const char* path, char* folder) {
    const char* slash = LastSeparator(path);
    if (!slash || (size_t)(slash - path) >= PATH_BUFFER_SIZE || IsMadeOfDots(slash + 1)) return false;
    memcpy(folder, path, (size_t)(slash - path));
    folder[slash - path] = 0;
    return true;
}

const char* JudgeFile(const char* path) {
    char form[PATH_BUFFER_SIZE];
    if (!FolderForm(path, form)) return kNotInFull;
    return Judge(form).refusal;
}

}  // namespace

RememberFolderVerdicts::RememberFolderVerdicts() {
    if (memory.scopes++) return;
    memory.have_places = false;
    memory.used = memory.next = 0;
    memory.written[0] = 0;
}

RememberFolderVerdicts::~RememberFolderVerdicts() { --memory.scopes; }

// A path given in full resolves the same way every time: its written
// folder stands for its full form.
const char* FileChangeRefusal(const char* path) {
    char written[PATH_BUFFER_SIZE];
    if (!memory.scopes || !WrittenFolder(path, written)) return JudgeFile(path);
    if (memory.written[0] && strcmp(written, memory.written) == 0) return memory.written_refusal;
    memory.written_refusal = JudgeFile(path);
    memcpy(memory.written, written, sizeof written);
    return memory.written_refusal;
}

const char* FolderRemovalRefusal(const char* path) {
    char form[PATH_BUFFER_SIZE];
    if (!FullPathForm(path, form, sizeof form)) return kNotInFull;
    if (const char* refusal = LocalRefusal(form)) return refusal;
    if (IsRootForm(form)) return kRoot;
    if (const char* refusal = LinkRefusal(form)) return refusal;
    const ProtectedPlaces& places = Places();
    FolderIdentity identity;
    IdentifyFolder(form, identity);
    if (PlaceOf(places, identity) >= 0) return kPlace;
    return HoldsPlace(places, identity) ? kHolder : nullptr;
}

const char* EmptiedFolderRefusal(const char* path) {
    if (const char* refusal = FolderRemovalRefusal(path)) return refusal;
    char form[PATH_BUFFER_SIZE];
    if (!FullPathForm(path, form, sizeof form)) return kNotInFull;
    return Judge(form).guarded ? kInsideWindows : nullptr;
}

const char* PatternRefusal(const char* pattern) {
    const char* slash = LastSeparator(pattern);
    const char* name = slash ? slash + 1 : pattern;
    if (!HasWildcard(name)) return nullptr;
    char folder[PATH_BUFFER_SIZE], form[PATH_BUFFER_SIZE];
    if (!slash || !PatternFolder(pattern, slash, folder) || !FullPathForm(folder, form, sizeof form))
        return kNotInFull;
    Verdict verdict = Judge(form);
    if (verdict.refusal) return verdict.refusal;
    return verdict.guarded && LiteralPrefix(name) < kPatternLiteralPrefix ? kSweep : nullptr;
}
