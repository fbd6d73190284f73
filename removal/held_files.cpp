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
#include "removal/protected_folders.h"
#include "system/run_time_functions.h"
#include "system/windows_family.h"

namespace {

const char kFileLink[] = "a link to another file";
const char kFolderLink[] = "reached through a link or junction";

typedef decltype(&SetFileInformationByHandle) SetFileInformationFn;

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

// The folder a search's files lie in, held from the first change in it
// until the search ends, with its verdict; and the disposition call, found
// once for the search.
struct SearchHold {
    int scopes;
    HANDLE folder;
    const char* refusal;
    char form[PATH_BUFFER_SIZE];
    bool disposition_known;
    SetFileInformationFn disposition;
};
SearchHold search = {0, INVALID_HANDLE_VALUE, nullptr, "", false, nullptr};

const char* JudgeHeldFolder(HANDLE folder, DWORD* error) {
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(folder, &information)) return HeldFolderRefusal(information);
    *error = GetLastError();
    return nullptr;
}

// The search keeps the first folder it holds and judges: it stays held.
void KeepForSearch(const char* folder, HeldFile* held, const char* refusal) {
    if (!search.scopes || search.folder != INVALID_HANDLE_VALUE) return;
    if (!MbCopy(search.form, sizeof search.form, folder)) return;
    search.folder = held->folder;
    search.refusal = refusal;
    held->search_folder = true;
}

// The folder held against renaming and judged by its handle.
const char* HoldFolder(const char* path, HeldFile* held, DWORD* error) {
    char folder[PATH_BUFFER_SIZE];
    if (!FolderOf(path, folder)) return FileChangeRefusal(path);
    if (search.folder != INVALID_HANDLE_VALUE && strcmp(folder, search.form) == 0) {
        held->folder = search.folder;
        held->search_folder = true;
        return search.refusal;
    }
    held->folder = OpenFolderItself(folder, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (held->folder == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    const char* refusal = JudgeHeldFolder(held->folder, error);
    if (!*error) KeepForSearch(folder, held, refusal);
    return refusal;
}

SetFileInformationFn DispositionCall() {
    if (search.scopes && search.disposition_known) return search.disposition;
    SetFileInformationFn call = LoadedFunction<SetFileInformationFn>("kernel32.dll", "SetFileInformationByHandle");
    search.disposition = call;
    search.disposition_known = search.scopes > 0;
    return call;
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

const char* JudgeHeldFile(HANDLE file, DWORD* error) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) {
        *error = GetLastError();
        return nullptr;
    }
    return information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT ? kFileLink : nullptr;
}

const char* HoldFileItself(const char* path, HeldUse use, HeldFile* held, DWORD* error) {
    if (use == HeldToDelete) held->disposition = DispositionCall();
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
    *held = HeldFile{path, INVALID_HANDLE_VALUE, false, INVALID_HANDLE_VALUE, false, nullptr};
    *error = 0;
    if (!through_handles) return nullptr;
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

// The search's folder stays held until the search ends.
void ReleaseHeldFile(HeldFile* held) {
    CloseIfOpen(&held->file);
    if (held->search_folder) held->folder = INVALID_HANDLE_VALUE;
    held->search_folder = false;
    CloseIfOpen(&held->folder);
}

HeldSearch::HeldSearch() {
    if (search.scopes++) return;
    search.folder = INVALID_HANDLE_VALUE;
    search.refusal = nullptr;
    search.form[0] = 0;
    search.disposition_known = false;
}

HeldSearch::~HeldSearch() {
    if (--search.scopes) return;
    if (search.folder != INVALID_HANDLE_VALUE) CloseHandle(search.folder);
    search.folder = INVALID_HANDLE_VALUE;
    search.disposition_known = false;
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
