// Deleting the installed files that the description lists (names, paths
// with path macros, wildcards in the last component). A file Windows will
// not let go now is deleted at the next start instead.
#include "system/run_state.h"
#include "platform/mbtext.h"
#include "removal/emptied_folders.h"
#include "removal/native_file_view.h"
#include "removal/own_files.h"
#include "removal/path_macros.h"
#include "removal/protected_folders.h"
#include "removal/removal_steps.h"
#include "removal/system_changes.h"
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
// Windows 9x may give the program's own path in 8.3 form, so the match's
// short name counts as well as its long one.
bool IsOwnFile(const char* path, const WIN32_FIND_DATAA& found, const char* own) {
    const char* slash = MbFindLastChar(path, '\\');
    if (!own[0] || !slash) return false;
    if (MbSameNoCase(slash, own)) return true;
    char short_name[sizeof found.cAlternateFileName + 1] = "\\";
    MbCopy(short_name + 1, sizeof found.cAlternateFileName, found.cAlternateFileName);
    return short_name[1] && MbSameNoCase(short_name, own);
}

// A file Windows will not let go now (a running program) goes at the next
// start; a deletion that is refused as protected asks for no restart.
void RemoveOneFile(const char* path, const WIN32_FIND_DATAA& found, const char* own,
                   DWORD family) {
    // The attributes are the search's: asking again, or writing back what is
    // already there, would cost two more calls for each of thousands of files.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ClearReadOnly(path, found.dwFileAttributes);
    if (LeaveToCleanupCopy(path, found) || IsOwnFile(path, found, own)) return;
    ChangeResult deleted = DeleteFileNow(path);
    if (ChangeMadeOrPreviewed(deleted.outcome)) NoteFileRemoved(path, false);
    if (deleted.outcome != ChangeFailed || deleted.error != ERROR_ACCESS_DENIED) return;
    if (DeleteFileAtRestart(path, family).outcome != ChangeScheduled) return;
    NoteFileRemoved(path, true);
    if (!InstallMode) RestartNeeded = true;
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
// before the name, so that the running program's name is recognised. A
// folder (".", ".." included) is no installed file.
void RemoveMatch(const char* pattern, size_t folder_length, const WIN32_FIND_DATAA& found,
                 const char* own, DWORD family) {
    const char* name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    if (folder_length + strlen(name) > PATH_MACRO_ROOM) return;
    char path[PATH_BUFFER_SIZE];
    memcpy(path, pattern, folder_length);
    path[folder_length - 1] = '\\';
    strcpy(path + folder_length, name);
    RemoveOneFile(path, found, own, family);
}

void SearchAndRemove(const char* pattern, size_t folder_length, const char* own, DWORD family) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do RemoveMatch(pattern, folder_length, found, own, family);
    while (FindNextFileA(find, &found));
    FindClose(find);
}

// An entry without a folder is skipped: it would be looked for wherever the
// program happened to be started. The search for driver files looks where
// the deletions will.
void RemoveMatches(const char* pattern, const char* own, DWORD family) {
    const char* slash = LastSeparator(pattern);
    if (!slash || !MayDeleteMatches(pattern)) return;
    NativeFileView view = EnterNativeViewFor(pattern);
    SearchAndRemove(pattern, (size_t)(slash + 1 - pattern), own, family);
    LeaveNativeView(view);
}

int32_t ValidCount(int32_t count) {
    if (count < 0) return 0;
    return count > TAVK_MAX_NUM_INSTALLED_FILES ? TAVK_MAX_NUM_INSTALLED_FILES : count;
}

}  // namespace

// Every match in one folder shares that folder's verdict.
int RemoveInstalledFiles(const UninstallData& data) {
    RememberFolderVerdicts remember;
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
