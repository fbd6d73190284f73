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
// | Windows' own, a profile or the all-users data, or in | product's own files                      |
// | a drive's root                                       |                                          |
// | a name with a stream (a colon after the drive's)     | "kernel32.dll::$DATA" is the file itself |
//
// The protected folders: the Windows, system, drivers and SysWOW64 folders
// and what lies below them, both Program Files and Common Files folders
// (only themselves: products live below them) and Windows' folders in them,
// the shell's special folders, and the users' profiles and the all-users
// data with what lies below them (protected_places.h). Folders are compared
// by identity: volume and index through a handle on the NT family, the
// system's full and 8.3 forms on Windows 9x.
#include "removal/guardrails/protected_folders.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/guardrails/protected_places.h"

namespace {

const char kNotInFull[] = "not given in full";
const char kNotLocal[] = "not on a local drive";
const char kThroughLink[] = "reached through a link or junction";
const char kSweep[] = "a sweeping pattern in a protected folder";
const char kSweepInProfile[] = "a sweeping pattern below a user's profile";
const char kSweepInAllUsers[] = "a sweeping pattern below the folders all users share";
const char kStream[] = "a name with a stream: the change would reach the file or folder itself";
const char kRoot[] = "a drive's root";
const char kPlace[] = "a folder Windows needs";
const char kHolder[] = "it holds a folder Windows needs";
const char kInsideWindows[] = "inside a folder Windows needs";

const char kNotJudged[] = "its folder is not the one its search was judged in";

struct Verdict {
    const char* refusal;  // for any change in the folder
    const char* sweep;    // non-null: sweeping patterns are refused in it, why
    bool in_windows;      // in or below Windows' own: emptied folders stay
};

// What the scopes hold: the places for a step, and the identity of the
// folder a search was judged in for as long as that search lasts.
const int kMaxHolders = 64;

struct Memory {
    int scopes;
    bool have_places;
    ProtectedPlaces places;
    bool have_holders;  // the folders above the places, asked once too
    bool holders_fit;
    int holder_count;
    FolderIdentity holders[kMaxHolders];
    int searches;
    bool judged_search;
    FolderIdentity searched;
    bool file_folder_known;          // a search's files' folder, judged by
    char file_folder[PATH_BUFFER_SIZE];  // its path once for all of them
    const char* file_folder_refusal;
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

// Why sweeping patterns are refused where `place` guards: in the place
// itself whatever its kind, below it by its kind.
const char* SweepReason(const ProtectedPlace& place, bool itself) {
    if (place.kind == PlaceProfile) return kSweepInProfile;
    if (place.kind == PlaceAllUsers) return kSweepInAllUsers;
    return itself || place.kind == PlaceWindows ? kSweep : nullptr;
}

// A root, a place, or below a place that protects what lies below it: the
// verdict's sweep reason, and whether Windows' own guards it. `itself` is
// given the folder's identity, on which the answer rests.
void JudgeGuard(const char* form, FolderIdentity& itself, Verdict& verdict) {
    IdentifyFolder(form, itself);
    if (IsRootForm(form)) {
        verdict.sweep = kSweep;
        verdict.in_windows = true;
        return;
    }
    const ProtectedPlaces& places = Places();
    char path[PATH_BUFFER_SIZE];
    MbCopy(path, sizeof path, form);
    FolderIdentity identity = itself;
    for (bool first = true; !verdict.sweep; first = false) {
        if (!first && !CutToParent(path)) break;
        if (IsRootForm(path)) break;
        if (!first) IdentifyFolder(path, identity);
        int place = PlaceOf(places, identity);
        if (place < 0) continue;
        verdict.sweep = SweepReason(places.place[place], first);
        verdict.in_windows = verdict.sweep && places.place[place].kind == PlaceWindows;
    }
}

// Where the folder is and how it is reached: no identity is needed.
const char* FolderRefusal(const char* form) {
    const char* refusal = LocalRefusal(form);
    return refusal ? refusal : LinkRefusal(form);
}

// Judged afresh at every question: a verdict never outlives the change it
// was asked for. A search's folder is remembered by identity only.
Verdict Judge(const char* form) {
    FolderIdentity identity;
    const char* refusal = FolderRefusal(form);
    Verdict verdict{refusal, nullptr, false};
    if (!refusal) JudgeGuard(form, identity, verdict);
    if (!refusal && memory.searches && !memory.judged_search) {
        memory.searched = identity;
        memory.judged_search = true;
    }
    return verdict;
}

// A colon anywhere after the drive's "X:" names a stream ("::$DATA") or an
// attribute of a folder: Windows changes the file or folder itself through
// it, whatever the rest of the spelling says. A colon is never a trail byte.
bool HasStream(const char* path) {
    const char* p = path[0] && path[1] == ':' ? path + 2 : path;
    for (; *p; p = MbNext(p))
        if (*p == ':') return true;
    return false;
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

// `path` and each folder above it, each once, into the remembered list.
void NoteHolders(char* path) {
    while (CutToParent(path) && memory.holders_fit) {
        bool known = false;
        for (int i = 0; i < memory.holder_count && !known; ++i)
            known = MbSameNoCase(memory.holders[i].full, path);
        if (known) continue;
        if (memory.holder_count == kMaxHolders) memory.holders_fit = false;
        else IdentifyFolder(path, memory.holders[memory.holder_count++]);
    }
}

// The folders above the places, identified once while the places are
// remembered: each folder removal asks about all of them.
bool RememberedHolders(const ProtectedPlaces& places) {
    if (!memory.scopes || !memory.have_places || &places != &memory.places) return false;
    if (!memory.have_holders) {
        memory.have_holders = memory.holders_fit = true;
        memory.holder_count = 0;
        for (int i = 0; i < places.count; ++i) {
            char path[MAX_PATH];
            MbCopy(path, sizeof path, places.place[i].identity.full);
            NoteHolders(path);
        }
    }
    return memory.holders_fit;
}

// Whether some place's folder, or a folder above it, is `identity`.
bool HoldsPlace(const ProtectedPlaces& places, const FolderIdentity& identity) {
    if (RememberedHolders(places)) {
        for (int i = 0; i < memory.holder_count; ++i)
            if (IsSameFolder(memory.holders[i], identity)) return true;
        return false;
    }
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

}  // namespace

RememberProtectedPlaces::RememberProtectedPlaces() {
    if (memory.scopes++) return;
    memory.have_places = false;
    memory.have_holders = false;
}

RememberProtectedPlaces::~RememberProtectedPlaces() { --memory.scopes; }

JudgedSearch::JudgedSearch() {
    ++memory.searches;
    memory.judged_search = false;
    memory.file_folder_known = false;
}

JudgedSearch::~JudgedSearch() {
    --memory.searches;
    memory.judged_search = false;
    memory.file_folder_known = false;
}

// The matches of a search share their folder: where they are is looked at
// once for all of them. Where a change is made through handles, each
// change judges the folder again by the handle that holds it.
const char* FileFolderRefusal(const char* form) {
    bool same = memory.file_folder_known && strcmp(form, memory.file_folder) == 0;
    if (same) return memory.file_folder_refusal;
    const char* refusal = FolderRefusal(form);
    if (!memory.searches) return refusal;
    memory.file_folder_known = MbCopy(memory.file_folder, sizeof memory.file_folder, form);
    memory.file_folder_refusal = refusal;
    return refusal;
}

const char* FileChangeRefusal(const char* path) {
    char form[PATH_BUFFER_SIZE];
    if (!FolderForm(path, form)) return kNotInFull;
    if (const char* refusal = FileFolderRefusal(form)) return refusal;
    return HasStream(path) ? kStream : nullptr;
}

bool SearchFolderHasIdentity() {
    return memory.searches && memory.judged_search && memory.searched.has_id;
}

// A search judged without an identity (its folder could not be opened
// then) has no files to change in it now.
const char* HeldFolderRefusal(const BY_HANDLE_FILE_INFORMATION& folder) {
    if (folder.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return kThroughLink;
    if (!memory.searches || !memory.judged_search) return nullptr;
    const FolderIdentity& judged = memory.searched;
    bool same = judged.has_id && judged.volume == folder.dwVolumeSerialNumber &&
                judged.index_high == folder.nFileIndexHigh && judged.index_low == folder.nFileIndexLow;
    return same ? nullptr : kNotJudged;
}

const char* FolderRemovalRefusal(const char* path) {
    char form[PATH_BUFFER_SIZE];
    if (!FullPathForm(path, form, sizeof form)) return kNotInFull;
    if (const char* refusal = LocalRefusal(form)) return refusal;
    if (HasStream(path)) return kStream;
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
    return Judge(form).in_windows ? kInsideWindows : nullptr;
}

const char* PatternRefusal(const char* pattern) {
    const char* slash = LastSeparator(pattern);
    const char* name = slash ? slash + 1 : pattern;
    // A named file is judged at its change; one with a stream is refused
    // here already, before any search, for the reason its change would give.
    if (!HasWildcard(name)) return HasStream(pattern) ? FileChangeRefusal(pattern) : nullptr;
    char folder[PATH_BUFFER_SIZE], form[PATH_BUFFER_SIZE];
    if (!slash || !PatternFolder(pattern, slash, folder) || !FullPathForm(folder, form, sizeof form))
        return kNotInFull;
    Verdict verdict = Judge(form);
    if (verdict.refusal) return verdict.refusal;
    if (HasStream(pattern)) return kStream;
    return verdict.sweep && LiteralPrefix(name) < kPatternLiteralPrefix ? verdict.sweep : nullptr;
}
