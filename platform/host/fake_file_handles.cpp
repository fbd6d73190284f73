// File handles on the fake file system: CreateFileA's dispositions and
// access rights, links opened themselves, delete access and its sharing,
// deletion at the last close, inherited handles, and ReadFile and
// WriteFile at the handle's position. The handles count as open kernel
// handles until CloseHandle.
#include <ctype.h>
#include <string.h>

#include <map>

#include "fake_file_system.h"
#include "fake_world.h"

namespace {

struct OpenFile {
    std::string path;  // canonical: the object opened, where a link leads or the link itself
    DWORD access;
    size_t position;
    DWORD share;
    bool delete_on_close;  // the flag, or the disposition set by handle
    bool link_itself;      // opened with FILE_FLAG_OPEN_REPARSE_POINT
    bool inheritable;
    int holders;           // this process, and a started program that inherited it
    char letter;           // the drive letter the path was opened through, or 0
};

std::map<HANDLE, OpenFile> files;
std::map<std::string, DWORD> link_counts;  // by canonical path, upper case
std::map<char, DWORD> letter_serials;      // a letter that reports its own serial

fake::ResetHook file_handles_reset([] {
    files.clear();
    link_counts.clear();
    letter_serials.clear();
});

// The last handle's close carries out a deletion asked for by handle.
fake::HandleCloser file_closer([](HANDLE handle) {
    auto it = files.find(handle);
    if (it == files.end()) return false;
    if (--it->second.holders > 0) return true;
    OpenFile file = it->second;
    files.erase(it);
    if (file.delete_on_close && !fake_fs::DeletionRefused(file.path)) fake_fs::Remove(file.path);
    return fake::CloseHandleOf(handle, "file");
});

std::string CountKey(const std::string& path) {
    std::string canonical;
    if (!fake_fs::Canonical(path, &canonical)) return "";
    for (char& c : canonical) c = (char)toupper((unsigned char)c);
    return canonical;
}

bool Wants(DWORD access, DWORD flags) { return (access & DELETE) || (flags & FILE_FLAG_DELETE_ON_CLOSE); }

// Delete access and the sharing of delete, as Windows checks them between
// the handles open on one file (read and write sharing are not modelled).
DWORD SharingConflict(const std::string& object, DWORD access, DWORD share, DWORD flags) {
    for (auto& entry : files) {
        const OpenFile& other = entry.second;
        if (!fake::SameName(other.path, object)) continue;
        if (Wants(access, flags) && !(other.share & FILE_SHARE_DELETE)) return ERROR_SHARING_VIOLATION;
        if ((other.access & DELETE) && !(share & FILE_SHARE_DELETE)) return ERROR_SHARING_VIOLATION;
    }
    return 0;
}

// A folder is not opened as a file; a file Windows will not write to is
// not opened for writing.
bool Denied(const std::string& path, DWORD access) {
    return !fake_fs::IsFile(path) || ((access & GENERIC_WRITE) && fake_fs::WriteRefused(path));
}

// 0 when the file may be opened as asked (created or emptied as the
// disposition says), or the error Windows gives.
DWORD Prepare(const std::string& path, DWORD access, DWORD disposition) {
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING) return ERROR_INVALID_PARAMETER;
    bool exists = fake_fs::Exists(path);
    if (exists && disposition == CREATE_NEW) return ERROR_FILE_EXISTS;
    if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING))
        return ERROR_FILE_NOT_FOUND;
    if (exists && Denied(path, access)) return ERROR_ACCESS_DENIED;
    bool empties = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING || !exists;
    return empties ? fake_fs::WriteFile(path, "") : 0;
}

OpenFile* Find(HANDLE handle) {
    auto it = files.find(handle);
    return it == files.end() ? nullptr : &it->second;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The open file a by-handle call names, after the call is logged and any
// failure injected for it; null, with the error to fail with, otherwise.
OpenFile* FileForCall(const char* call, HANDLE handle, DWORD* error) {
    OpenFile* file = Find(handle);
    fake::LogCall(call, file ? file->path : "");
    *error = file ? fake::InjectedFailure(call, file->path) : (DWORD)ERROR_INVALID_HANDLE;
    return *error ? nullptr : file;
}

// Only the NT family opens a folder, and only for backup semantics.
DWORD PrepareFolder(DWORD flags, DWORD disposition) {
    bool nt = fake::CurrentWindowsVersion().platform == VER_PLATFORM_WIN32_NT;
    bool backup = (flags & FILE_FLAG_BACKUP_SEMANTICS) != 0;
    return nt && backup && disposition == OPEN_EXISTING ? 0 : ERROR_ACCESS_DENIED;
}

}  // namespace

// What the open reaches: a link named last is followed unless the link
// itself is asked for; a name not there yet is kept as given.
std::string ObjectOf(const std::string& name, DWORD flags) {
    std::string viewed = fake_fs::ViewOf(name), object;
    if (!fake_fs::Resolve(viewed, !(flags & FILE_FLAG_OPEN_REPARSE_POINT), &object)) return viewed;
    return object;
}

// Delete-on-close is refused at the open for a file Windows would not
// delete, as a deletion by name would be.
DWORD OpenError(const std::string& object, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    DWORD attributes = fake::FileAttributesOf(object);
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    DWORD error = folder ? PrepareFolder(flags, disposition) : Prepare(object, access, disposition);
    if (!error) error = SharingConflict(object, access, share, flags);
    if (!error && !folder && (flags & FILE_FLAG_DELETE_ON_CLOSE)) error = fake_fs::DeletionRefused(object);
    return error;
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD flags, HANDLE) {
    std::string name = path ? path : "";
    fake::LogCall("CreateFileA", name);
    DWORD error = fake::InjectedFailure("CreateFileA", name);
    std::string object = ObjectOf(name, flags);
    bool existed = fake_fs::Exists(object);
    if (!error) error = OpenError(object, access, share, disposition, flags);
    if (error) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    if (!existed) fake_fs::RecordCreatedAccess(object, security);
    HANDLE handle = fake::OpenHandle("file");
    bool inheritable = security && security->bInheritHandle;
    files[handle] = OpenFile{object, access, 0, share, (flags & FILE_FLAG_DELETE_ON_CLOSE) != 0,
                             (flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0, inheritable, 1,
                             name.size() > 1 && name[1] == ':' ? (char)toupper((unsigned char)name[0]) : '\0'};
    SetLastError(existed && (disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS) ? ERROR_ALREADY_EXISTS : 0);
    return handle;
}

namespace fake {

void SetFileLinkCount(const std::string& path, DWORD count) { link_counts[CountKey(path)] = count; }
void SetDriveSerial(char letter, DWORD serial) { letter_serials[(char)toupper((unsigned char)letter)] = serial; }

void InheritHandles() {
    for (auto& entry : files)
        if (entry.second.inheritable) ++entry.second.holders;
}

}  // namespace fake

BOOL SetFileInformationByHandle(HANDLE handle, FILE_INFO_BY_HANDLE_CLASS information_class,
                                LPVOID information, DWORD size) {
    DWORD error = 0;
    OpenFile* file = FileForCall("SetFileInformationByHandle", handle, &error);
    if (!file) return Fail(error);
    if (information_class != FileDispositionInfo || size < sizeof(FILE_DISPOSITION_INFO))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!(file->access & DELETE)) return Fail(ERROR_ACCESS_DENIED);
    bool deletes = ((FILE_DISPOSITION_INFO*)information)->DeleteFile != 0;
    if (DWORD refused = deletes ? fake_fs::DeletionRefused(file->path) : 0) return Fail(refused);
    file->delete_on_close = deletes;
    return TRUE;
}

namespace fake_fs {

// Windows checks the sharing only of opens that read, write or delete: a
// handle that may only read attributes holds nothing.
bool HeldAgainstRename(const std::string& folder) {
    const DWORD kHolding = GENERIC_READ | GENERIC_WRITE | DELETE | FILE_READ_DATA;
    for (auto& entry : files)
        if (fake::SameName(entry.second.path, folder) && (entry.second.access & kHolding) &&
            !(entry.second.share & FILE_SHARE_DELETE))
            return true;
    return false;
}

}  // namespace fake_fs

namespace {

// The open file a read or write may use, with the count cleared; null
// after setting the error Windows would give.
OpenFile* UsableFile(HANDLE handle, DWORD right, const char* api, LPDWORD count) {
    OpenFile* file = Find(handle);
    if (count) *count = 0;
    DWORD error = !file                    ? ERROR_INVALID_HANDLE
                  : !(file->access & right) ? ERROR_ACCESS_DENIED
                                            : fake::InjectedFailure(api, file->path);
    if (!error) return file;
    Fail(error);
    return nullptr;
}

}  // namespace

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED) {
    OpenFile* file = UsableFile(handle, GENERIC_READ, "ReadFile", read);
    if (!file) return FALSE;
    std::string data = fake::FileContents(file->path);
    size_t count = file->position < data.size() ? data.size() - file->position : 0;
    if (count > size) count = size;
    memcpy(buffer, data.data() + file->position, count);
    file->position += count;
    *read = (DWORD)count;
    return TRUE;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED) {
    OpenFile* file = UsableFile(handle, GENERIC_WRITE, "WriteFile", written);
    if (!file) return FALSE;
    std::string data = fake::FileContents(file->path);
    if (data.size() < file->position) data.resize(file->position);
    data.replace(file->position, size, (const char*)buffer, size);
    fake_fs::SetContents(file->path, data);
    file->position += size;
    *written = size;
    return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distance_high, DWORD method) {
    OpenFile* file = Find(handle);
    if (!file || method > FILE_END || (distance_high && *distance_high)) {
        SetLastError(file ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return INVALID_SET_FILE_POINTER;
    }
    long long base = method == FILE_BEGIN ? 0
                     : method == FILE_CURRENT ? (long long)file->position
                                              : (long long)fake::FileContents(file->path).size();
    if (base + distance < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    file->position = (size_t)(base + distance);
    return (DWORD)file->position;
}

BOOL GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
    fake::LogCall("GetFileInformationByHandle", "");
    OpenFile* file = Find(handle);
    if (!file) return Fail(ERROR_INVALID_HANDLE);
    if (DWORD error = fake::InjectedFailure("GetFileInformationByHandle", file->path)) return Fail(error);
    memset(information, 0, sizeof *information);
    DWORD index = 0;
    if (!fake_fs::ObjectIdentity(file->path, &information->dwFileAttributes,
                                 &information->dwVolumeSerialNumber, &index))
        return Fail(ERROR_FILE_NOT_FOUND);
    information->nFileIndexLow = index;
    // Made once per object, as a file system keeps it: the same by every path.
    information->ftCreationTime = FILETIME{index * 2654435761u, 0x01D00000u};
    auto serial = letter_serials.find(file->letter);
    if (serial != letter_serials.end()) information->dwVolumeSerialNumber = serial->second;
    // Through a link without the flag, the handle is the target's.
    if (!file->link_itself && !(information->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        information->dwFileAttributes &= ~(DWORD)FILE_ATTRIBUTE_REPARSE_POINT;
    auto count = link_counts.find(CountKey(file->path));
    information->nNumberOfLinks = count == link_counts.end() ? 1 : count->second;
    information->nFileSizeLow = (DWORD)fake::FileContents(file->path).size();
    return TRUE;
}

LONG NtQueryInformationFile(HANDLE handle, void* io_status, void* information, ULONG size,
                            ULONG information_class) {
    const LONG kInvalidClass = (LONG)0xC0000003, kLengthMismatch = (LONG)0xC0000004;
    DWORD error = 0;
    OpenFile* file = FileForCall("NtQueryInformationFile", handle, &error);
    if (!file) return error == ERROR_INVALID_HANDLE ? (LONG)0xC0000008 : (LONG)0xC0000022;
    if (information_class != kFileBasicInformation && information_class != kFileInternalInformation)
        return kInvalidClass;
    BY_HANDLE_FILE_INFORMATION all;
    DWORD index = 0;
    if (!fake_fs::ObjectIdentity(file->path, &all.dwFileAttributes, &all.dwVolumeSerialNumber, &index))
        return (LONG)0xC0000034;  // the object's name is not found
    memset(io_status, 0, 2 * sizeof(void*));
    if (information_class == kFileInternalInformation) {
        if (size < sizeof(long long)) return kLengthMismatch;
        long long id = index;
        memcpy(information, &id, sizeof id);
        return 0;
    }
    if (size < sizeof(FILE_BASIC_INFO)) return kLengthMismatch;
    FILE_BASIC_INFO* basic = (FILE_BASIC_INFO*)information;
    memset(basic, 0, sizeof *basic);
    // Made once per object, as GetFileInformationByHandle tells it.
    basic->CreationTime = (long long)0x01D00000u << 32 | (DWORD)(index * 2654435761u);
    basic->FileAttributes = all.dwFileAttributes;
    // Through a link without the flag, the handle is the target's.
    if (!file->link_itself && !(basic->FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        basic->FileAttributes &= ~(DWORD)FILE_ATTRIBUTE_REPARSE_POINT;
    return 0;
}
