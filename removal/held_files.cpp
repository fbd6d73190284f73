// Holding a file and its folder while they are judged and changed. The
// folder's handle has no FILE_SHARE_DELETE: Windows lets nobody rename or
// delete a folder (renaming needs delete access) while it is open so. The
// file is opened with FILE_FLAG_OPEN_REPARSE_POINT, so a link is the link
// itself, and deleted through that handle: with the disposition call where
// Windows has it (Vista and later), else by FILE_FLAG_DELETE_ON_CLOSE on
// the open (before Vista no file is a link, so the open needs no look).
#include "removal/held_files.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/guardrails/protected_folders.h"
#include "system/run_time_functions.h"
#include "system/windows_family.h"

namespace {

const char kFileLink[] = "a link to another file";
const char kFolderLink[] = "reached through a link or junction";

typedef decltype(&SetFileInformationByHandle) SetFileInformationFn;
// ntdll's query of an open file, on every NT version. It reads the object
// alone: kernel32's calls that tell a file's index also ask the volume for
// its serial, which Wine answers through its mount manager, a round of
// requests to another process for each file.
typedef LONG(WINAPI* QueryFileFn)(HANDLE file, void* io_status, void* information, ULONG size,
                                  ULONG information_class);
const ULONG kBasicInformation = 4;     // FILE_BASIC_INFORMATION, as FILE_BASIC_INFO
const ULONG kInternalInformation = 6;  // the object's 64-bit index
struct IoStatus {
    void* status;
    ULONG_PTR information;
};

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
const DWORD kNoFollow = FILE_FLAG_OPEN_REPARSE_POINT;

// Windows checks the sharing only of an open that reads, writes or
// deletes: the folder is opened to be listed, so that it is held.
HANDLE OpenFolderItself(const char* folder, DWORD share) {
    return CreateFileA(folder, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | kNoFollow, nullptr);
}

// The folder that holds `path` ("C:\" for a file at a drive's root).
bool FolderOf(const char* path, char* folder) {
    if (!FullPathForm(path, folder, PATH_BUFFER_SIZE - 1) || !CutToParent(folder)) return false;
    if (IsRootForm(folder) && folder[1] == ':') MbCopy(folder + 2, PATH_BUFFER_SIZE - 2, "\\");
    return true;
}

// The calls by handle that Windows may lack, found once for a search's
// files, and the first folder the search judged in full: held open until
// the search ends, and known by its index on its volume.
struct SearchCalls {
    int scopes;
    bool known;
    SetFileInformationFn disposition;
    QueryFileFn query;
    HANDLE pinned;  // INVALID_HANDLE_VALUE until a folder is judged in full
    long long first;
};
SearchCalls search;

bool QueryFile(HANDLE file, ULONG information_class, void* information, ULONG size) {
    IoStatus io;  // filled by the call
    return search.query && search.query(file, &io, information, size, information_class) == 0;
}

// A folder's index read from the open folder alone, only while a search
// lasts.
bool ReadQuickId(HANDLE folder, long long* index) {
    return search.scopes && QueryFile(folder, kInternalInformation, index, sizeof *index);
}

// The folder judged by its handle. A search's later files need only show
// that their folder is the very object its first file's was: the index
// alone tells it, as that folder is held open all along, and Windows
// renames neither it nor a folder above it while it is (the full judgement
// asks the volume for its serial). Anything else is judged in full, and
// the first folder that passes so is kept held for the search.
const char* JudgeHeldFolder(HeldFile* held, DWORD* error) {
    long long id;
    bool quick = ReadQuickId(held->folder, &id);
    bool pinned = search.pinned != INVALID_HANDLE_VALUE;
    if (quick && pinned && id == search.first) return nullptr;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(held->folder, &information)) {
        *error = GetLastError();
        return nullptr;
    }
    const char* refusal = HeldFolderRefusal(information);
    if (!refusal && quick && !pinned) {
        search.first = id;
        search.pinned = held->folder;
        held->folder = INVALID_HANDLE_VALUE;
    }
    return refusal;
}

// The folder held against renaming and judged by its handle, for each file
// again: Wine lets a folder held so be renamed, and a held folder's path
// may then lead elsewhere. (Opening the file from the held folder's handle
// does not help there: Wine deletes such a file at its close by the
// folder's old path.)
const char* HoldFolder(const char* path, HeldFile* held, DWORD* error) {
    char folder[PATH_BUFFER_SIZE];
    if (!FolderOf(path, folder)) return FileChangeRefusal(path);
    held->folder = OpenFolderItself(folder, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (held->folder == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    return JudgeHeldFolder(held, error);
}

// Looked up once while a search lasts.
void FindHandleCalls() {
    if (search.scopes && search.known) return;
    search.disposition = LoadedFunction<SetFileInformationFn>("kernel32.dll", "SetFileInformationByHandle");
    search.query = LoadedFunction<QueryFileFn>("ntdll.dll", "NtQueryInformationFile");
    search.known = search.scopes > 0;
}

// The file itself; a deletion without the disposition call opens it
// to be deleted at its close.
HANDLE OpenFileItself(const char* path, HeldUse use, bool delete_on_close) {
    if (use == HeldToLookAt)
        return CreateFileA(path, FILE_READ_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, kNoFollow, nullptr);
    DWORD flags = kNoFollow | (delete_on_close ? FILE_FLAG_DELETE_ON_CLOSE : 0);
    return CreateFileA(path, DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, flags,
                       nullptr);
}

// The attributes alone where Windows can tell them so: the full
// information also asks the volume for its serial.
bool ReadAttributes(HANDLE file, DWORD* attributes) {
    FILE_BASIC_INFO basic;
    if (QueryFile(file, kBasicInformation, &basic, sizeof basic)) {
        *attributes = basic.FileAttributes;
        return true;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return false;
    *attributes = information.dwFileAttributes;
    return true;
}

const char* JudgeHeldFile(HANDLE file, DWORD* error) {
    DWORD attributes = 0;
    if (!ReadAttributes(file, &attributes)) {
        *error = GetLastError();
        return nullptr;
    }
    return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? kFileLink : nullptr;
}

const char* HoldFileItself(const char* path, HeldUse use, HeldFile* held, DWORD* error) {
    if (use == HeldToDelete) held->disposition = search.disposition;
    held->deleted_on_close = use == HeldToDelete && !held->disposition;
    held->file = OpenFileItself(path, use, held->deleted_on_close);
    if (held->file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    return held->deleted_on_close ? nullptr : JudgeHeldFile(held->file, error);
}

void CloseIfOpen(HANDLE* handle) {
    if (*handle != INVALID_HANDLE_VALUE) CloseHandle(*handle);
    *handle = INVALID_HANDLE_VALUE;
}

}  // namespace

const char* HoldFile(const char* path, HeldUse use, bool through_handles, HeldFile* held, DWORD* error) {
    *held = HeldFile{path, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE, false, nullptr};
    *error = 0;
    if (!through_handles) return nullptr;
    FindHandleCalls();
    const char* refusal = HoldFolder(path, held, error);
    if (!refusal && !*error) refusal = HoldFileItself(path, use, held, error);
    if (refusal || *error) ReleaseHeldFile(held);
    return refusal;
}

DWORD DeleteHeldFile(HeldFile* held) {
    DWORD error = 0;
    if (held->file == INVALID_HANDLE_VALUE) {
        if (!DeleteFileA(held->path)) error = GetLastError();
    } else if (!held->deleted_on_close) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        if (!held->disposition(held->file, FileDispositionInfo, &disposition, sizeof disposition))
            error = GetLastError();
    }
    ReleaseHeldFile(held);
    return error;
}

void ReleaseHeldFile(HeldFile* held) {
    CloseIfOpen(&held->file);
    CloseIfOpen(&held->folder);
}

HeldSearch::HeldSearch() {
    if (search.scopes++) return;
    search.known = false;
    search.pinned = INVALID_HANDLE_VALUE;
}

HeldSearch::~HeldSearch() {
    if (--search.scopes) return;
    search.known = false;
    CloseIfOpen(&search.pinned);
}

// Opened with every sharing, so that the removal that follows is not kept
// from it by this very handle.
const char* FolderLinkRefusal(const char* path) {
    if (!ChangesThroughHandles()) return nullptr;
    HANDLE folder = OpenFolderItself(path, kShareAll);
    if (folder == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION information;
    bool link = GetFileInformationByHandle(folder, &information) &&
                (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    CloseHandle(folder);
    return link ? kFolderLink : nullptr;
}

bool ChangesThroughHandles() { return IsWindowsNT(); }
