// The shared-file counts under SharedDLLs: looked up by the file's path in
// either spelling the step has of it, lowered or deleted through the
// gateway, and said in the log (a preview says what they would become).
#include "removal/shared_files.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/system_changes.h"

namespace {

const char kSharedDlls[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The file's value: a count of four bytes (REG_DWORD, or REG_BINARY as old
// setups wrote it). Value names are compared without regard to case.
bool ReadCount(HKEY key, const char* name, DWORD* count) {
    DWORD type = 0, size = sizeof *count;
    if (RegQueryValueExA(key, name, nullptr, &type, (LPBYTE)count, &size) != ERROR_SUCCESS) return false;
    return size == sizeof *count && (type == REG_DWORD || type == REG_BINARY);
}

// The path as the step has it, then its full form ("/" for "\", "." and
// ".." resolved) when that is spelt otherwise.
bool FindCount(HKEY key, const char* path, char* name, DWORD* count) {
    if (!key || !MbCopy(name, PATH_BUFFER_SIZE, path)) return false;
    if (ReadCount(key, name, count)) return true;
    char form[PATH_BUFFER_SIZE];
    if (!FullPathForm(path, form, sizeof form) || MbSameNoCase(form, path)) return false;
    MbCopy(name, PATH_BUFFER_SIZE, form);
    return ReadCount(key, name, count);
}

bool WasReleased(const SharedFiles& shared, const char* name) {
    for (size_t i = 0; i < shared.released_count; ++i)
        if (MbSameNoCase(shared.released[i], name)) return true;
    return false;
}

// False when the list cannot grow: the file then stays uncounted.
bool Remember(SharedFiles* shared, const char* name) {
    if (shared->released_count == shared->released_room) {
        size_t room = shared->released_room ? shared->released_room * 2 : 16;
        void* grown = realloc(shared->released, room * sizeof *shared->released);
        if (!grown) return false;
        shared->released = (char(*)[PATH_BUFFER_SIZE])grown;
        shared->released_room = room;
    }
    MbCopy(shared->released[shared->released_count++], PATH_BUFFER_SIZE, name);
    return true;
}

}  // namespace

void OpenSharedFiles(SharedFiles* shared) {
    memset(shared, 0, sizeof *shared);
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kSharedDlls, &shared->key) != ERROR_SUCCESS) shared->key = nullptr;
}

void CloseSharedFiles(SharedFiles* shared) {
    if (shared->key) RegCloseKey(shared->key);
    free(shared->released);
    memset(shared, 0, sizeof *shared);
}

// A file released once already keeps the count it was given; a list that
// cannot grow keeps the file rather than lower its count twice.
bool KeepForOtherPrograms(SharedFiles* shared, const char* path) {
    char name[PATH_BUFFER_SIZE];
    DWORD count;
    if (!FindCount(shared->key, path, name, &count)) return false;
    if (WasReleased(*shared, name)) return true;
    if (count <= 1) return false;
    if (!Remember(shared, name)) return true;
    LowerSharedCount(shared->key, kSharedDlls, name, path, count);
    return true;
}

void ForgetSharedFile(SharedFiles* shared, const char* path) {
    char name[PATH_BUFFER_SIZE];
    DWORD count;
    if (FindCount(shared->key, path, name, &count))
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, shared->key, kSharedDlls, name);
}
