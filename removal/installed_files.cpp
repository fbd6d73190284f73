// Deleting the installed files that the description lists (names, paths
// with path macros, wildcards in the last component). A file Windows will
// not let go now is deleted at the next start instead.
#include "system/run_state.h"
#include "platform/mbtext.h"
#include "removal/delete_on_restart.h"
#include "removal/path_macros.h"
#include "removal/removal_steps.h"
#include "system/windows_family.h"

namespace {

// The running program's own name with the backslash before it, or empty.
void GetOwnFileName(char* own) {
    char path[PATH_BUFFER_SIZE];
    own[0] = 0;
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    const char* slash = MbFindLastChar(path, '\\');
    if (slash) MbCopy(own, PATH_BUFFER_SIZE, slash);
}

// The running program is never deleted, in whatever folder a copy lies.
bool IsOwnFile(const char* path, const char* own) {
    const char* slash = MbFindLastChar(path, '\\');
    return own[0] && slash && MbSameNoCase(slash, own);
}

// The attributes are the search's: asking again, or writing back what is
// already there, would cost two more calls for each of thousands of files.
void RemoveOneFile(const char* path, DWORD attributes, const char* own, DWORD family) {
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path, attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY);
    if (IsOwnFile(path, own)) return;
    if (DeleteFileA(path) || GetLastError() != ERROR_ACCESS_DENIED) return;
    ScheduleDeleteAtRestart(path, family);
    if (!InstallMode) RestartNeeded = true;
}

// "." and ".." name the folder searched and its parent, never a match.
bool IsDotEntry(const char* name) {
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// The search takes '/' for a folder separator as well as '\\': the folder
// part must end at the last of either, or a match would be deleted from a
// folder further up.
const char* LastSeparator(const char* pattern) {
    const char* back = MbFindLastChar(pattern, '\\');
    const char* forward = MbFindLastChar(pattern, '/');
    if (!back) return forward;
    return forward && forward > back ? forward : back;
}

// The match's path: the pattern's folder part and the found name, skipped
// when it would not fit the expansion's room. A backslash always stands
// before the name, so that the running program's name is recognised.
void RemoveMatch(const char* pattern, size_t folder_length, const WIN32_FIND_DATAA& found,
                 const char* own, DWORD family) {
    const char* name = found.cFileName;
    if (IsDotEntry(name) || folder_length + strlen(name) > PATH_MACRO_ROOM) return;
    char path[PATH_BUFFER_SIZE];
    memcpy(path, pattern, folder_length);
    path[folder_length - 1] = '\\';
    strcpy(path + folder_length, name);
    RemoveOneFile(path, found.dwFileAttributes, own, family);
}

// An entry without a folder is skipped: it would be looked for wherever the
// program happened to be started.
void RemoveMatches(const char* pattern, const char* own, DWORD family) {
    const char* slash = LastSeparator(pattern);
    if (!slash) return;
    size_t folder_length = (size_t)(slash + 1 - pattern);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do RemoveMatch(pattern, folder_length, found, own, family);
    while (FindNextFileA(find, &found));
    FindClose(find);
}

int32_t ValidCount(int32_t count) {
    if (count < 0) return 0;
    return count > TAVK_MAX_NUM_INSTALLED_FILES ? TAVK_MAX_NUM_INSTALLED_FILES : count;
}

}  // namespace

int RemoveInstalledFiles(const UninstallData& data) {
    DWORD family = GetWindowsFamily();
    char own[PATH_BUFFER_SIZE];
    GetOwnFileName(own);
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE];
    if (!GetMacroDirs(windows_dir, system_dir)) return 2;
    for (int32_t i = 0; i < ValidCount(data.installed_file_count); ++i) {
        char expanded[PATH_BUFFER_SIZE];
        if (!ExpandPathMacros(data.installed_files[i], windows_dir, system_dir, expanded))
            return 2;
        RemoveMatches(expanded, own, family);
    }
    return 0;
}
