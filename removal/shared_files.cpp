// The shared-file counts under SharedDLLs: looked up by the file's path in
// every spelling a setup may have written, lowered or deleted through the
// gateway, and said in the log (a preview says what they would become). A
// file that stays because it is refused keeps its count whole.
#include "removal/shared_files.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/native_file_view.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/guardrails/protected_folders.h"
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
bool FindCountAsGiven(HKEY key, const char* path, char* name, DWORD* count) {
    if (!MbCopy(name, PATH_BUFFER_SIZE, path)) return false;
    if (ReadCount(key, name, count)) return true;
    char form[PATH_BUFFER_SIZE];
    if (!FullPathForm(path, form, sizeof form) || MbSameNoCase(form, path)) return false;
    MbCopy(name, PATH_BUFFER_SIZE, form);
    return ReadCount(key, name, count);
}

// The folder's 8.3 form and its SysWOW64 form, asked once for all its files.
void LearnFolder(SharedFiles* shared, const char* folder, const char* path) {
    MbCopy(shared->folder, sizeof shared->folder, folder);
    DWORD length = GetShortPathNameA(folder, shared->short_folder, sizeof shared->short_folder);
    if (!length || length >= sizeof shared->short_folder || MbSameNoCase(shared->short_folder, folder))
        shared->short_folder[0] = 0;
    char seen[PATH_BUFFER_SIZE];
    shared->wow64_folder[0] = 0;
    if (Wow64RedirectedPath(path, seen, sizeof seen) == PathRedirected) FolderPart(seen, shared->wow64_folder);
}

// The other spellings: the 8.3 folder with the 8.3 name (or the name, when
// it has no other), and the SysWOW64 folder with the name.
bool FindCountElsewhere(SharedFiles* shared, const char* path, const WIN32_FIND_DATAA& found, char* name,
                        DWORD* count) {
    char folder[PATH_BUFFER_SIZE];
    if (!FolderPart(path, folder)) return false;
    if (!MbSameNoCase(folder, shared->folder)) LearnFolder(shared, folder, path);
    const char* file = FileNamePart(path);
    const char* short_file = found.cAlternateFileName[0] ? found.cAlternateFileName : file;
    bool short_differs = shared->short_folder[0] || !MbSameNoCase(short_file, file);
    const char* short_folder = shared->short_folder[0] ? shared->short_folder : folder;
    if (short_differs && JoinedPath(name, short_folder, short_file) && ReadCount(shared->key, name, count))
        return true;
    return JoinedPath(name, shared->wow64_folder, file) && ReadCount(shared->key, name, count);
}

bool FindCount(SharedFiles* shared, const char* path, const WIN32_FIND_DATAA& found, char* name,
               DWORD* count) {
    if (!shared->key) return false;
    return FindCountAsGiven(shared->key, path, name, count) ||
           FindCountElsewhere(shared, path, found, name, count);
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
bool KeepForOtherPrograms(SharedFiles* shared, const char* path, const WIN32_FIND_DATAA& found) {
    char name[PATH_BUFFER_SIZE];
    DWORD count;
    shared->uncounted[0] = 0;
    if (!FindCount(shared, path, found, name, &count)) {
        if (!MbCopy(shared->uncounted, sizeof shared->uncounted, path)) shared->uncounted[0] = 0;
        return false;
    }
    if (WasReleased(*shared, name)) return true;
    if (count <= 1 || FileChangeRefusal(path)) return false;
    if (!Remember(shared, name)) return true;
    LowerSharedCount(shared->key, kSharedDlls, name, path, count);
    return true;
}

// The run adds no count: a file found without one a moment ago has none.
void ForgetSharedFile(SharedFiles* shared, const char* path, const WIN32_FIND_DATAA& found) {
    if (shared->uncounted[0] && strcmp(shared->uncounted, path) == 0) return;
    char name[PATH_BUFFER_SIZE];
    DWORD count;
    if (FindCount(shared, path, found, name, &count))
        DeleteRegistryValue(HKEY_LOCAL_MACHINE, shared->key, kSharedDlls, name);
}
