// Deleting the installed files that the description lists (names, paths
// with path macros, wildcards in the last component). A file Windows will
// not let go now is deleted at the next start instead; a file another
// program still uses (a shared count above 1) stays.
#include "removal/installed_files.h"

#include "system/run_state.h"
#include "platform/mbtext.h"
#include "removal/delete_on_restart.h"
#include "removal/emptied_folders.h"
#include "removal/guardrails/file_evidence.h"
#include "removal/held_files.h"
#include "removal/native_file_view.h"
#include "removal/own_files.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/guardrails/protected_files.h"
#include "removal/guardrails/protected_folders.h"
#include "removal/shared_files.h"
#include "removal/system_changes.h"
#include "system/windows_family.h"

namespace {

// What every file of the step is judged with.
struct FileStep {
    char own[PATH_BUFFER_SIZE];  // the running program's name, or empty
    DWORD family;
    SharedFiles shared;
};

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

// A file Windows will not let go now (a running program, on the NT family a
// file held open) goes at the next
// start; a deletion that is refused as protected asks for no restart. Each
// concrete file passes here once, whether named or matched, so a shared
// count is looked at here; it goes once the file has gone or is scheduled.
void RemoveOneFile(FileStep& step, const char* path, const WIN32_FIND_DATAA& found) {
    // Judged once, with what the search found. Windows' own file keeps its
    // count: lowered, the next program's uninstaller would take the file.
    bool windows_own = WindowsFileRefusalOfMatch(path, found) != nullptr;
    if (!windows_own && KeepForOtherPrograms(&step.shared, path, found)) return;
    // The attributes are the search's: asking again, or writing back what is
    // already there, would cost two more calls for each of thousands of files.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ClearReadOnly(path, found.dwFileAttributes);
    if (LeaveToCleanupCopy(path, found) || IsOwnFile(path, found, step.own)) return;
    ChangeResult deleted = DeleteFileNow(path);
    if (deleted.outcome == ChangeFailed && WaitsForTheRestart(deleted.error)) {
        deleted = DeleteFileAtRestart(path, step.family);
        if (deleted.outcome == ChangeScheduled && !InstallMode) RestartNeeded = true;
    }
    bool scheduled = deleted.outcome == ChangeScheduled;
    bool gone = scheduled || ChangeMadeOrPreviewed(deleted.outcome);
    if (gone) NoteFileRemoved(path, scheduled);
    if (gone || deleted.outcome == ChangeMissing) ForgetSharedFile(&step.shared, path, found);
}

// The match's path: the pattern's folder part and the found name, skipped
// when it would not fit the expansion's room. A backslash always stands
// before the name, so that the running program's name is recognised. A
// folder (".", ".." included) is no installed file.
void RemoveMatch(FileStep& step, const char* pattern, size_t folder_length,
                 const WIN32_FIND_DATAA& found) {
    const char* name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    if (folder_length + strlen(name) > PATH_MACRO_ROOM) return;
    char path[PATH_BUFFER_SIZE];
    memcpy(path, pattern, folder_length);
    path[folder_length - 1] = '\\';
    strcpy(path + folder_length, name);
    RemoveOneFile(step, path, found);
}

void SearchAndRemove(FileStep& step, const char* pattern, size_t folder_length) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do RemoveMatch(step, pattern, folder_length, found);
    while (FindNextFileA(find, &found));
    FindClose(find);
}

// An entry without a folder is skipped: it would be looked for wherever the
// program happened to be started. The pattern is judged, and driver files
// searched, where the deletions will look; its files are changed only in
// the folder it was judged in.
void RemoveMatches(FileStep& step, const char* pattern) {
    const char* slash = LastSeparator(pattern);
    if (!slash) return;
    JudgedSearch search;
    HeldSearch held;
    DescriptionEntry entry(pattern);
    NativeFileView view = EnterNativeViewFor(pattern);
    if (MayDeleteMatches(pattern)) SearchAndRemove(step, pattern, (size_t)(slash + 1 - pattern));
    LeaveNativeView(view);
}

// 2 as soon as an entry does not fit its expansion; the rest are left.
int RemoveEntries(FileStep& step, const UninstallData& data, const char* windows_dir,
                  const char* system_dir) {
    int32_t count = CountWithin(data.installed_file_count, TAVK_MAX_NUM_INSTALLED_FILES);
    for (int32_t i = 0; i < count; ++i) {
        char expanded[PATH_BUFFER_SIZE];
        if (!ExpandPathMacros(data.installed_files[i], windows_dir, system_dir, expanded)) return 2;
        RemoveMatches(step, expanded);
    }
    return 0;
}

}  // namespace

// Windows' own files and the shared counts are looked up for the whole step
// at once, not for each of its files.
int RemoveInstalledFiles(const UninstallData& data) {
    FileStep step;
    step.family = GetWindowsFamily();
    GetOwnFileName(step.own);
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE];
    if (!GetMacroDirs(windows_dir, system_dir)) return 2;
    WindowsFileRules rules;
    RememberProtectedPlaces places;
    RememberProgramFolder program_folder;
    RememberNativeView native_view;
    OpenSharedFiles(&step.shared);
    int result = RemoveEntries(step, data, windows_dir, system_dir);
    CloseSharedFiles(&step.shared);
    return result;
}
