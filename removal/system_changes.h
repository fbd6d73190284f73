// The one way the removal steps change the machine: every deletion of a
// file, folder, registry key or value, and every deletion left for the
// next start of Windows, goes through here. Each call first asks the
// guardrails (protected_keys.h, protected_folders.h, protected_files.h); a refused change is
// skipped and is no failure. Each outcome is written to the run log here, with the item's
// full path or key. In a preview (PreviewRun) nothing is changed: each
// call looks at the machine as it is and records what it would do.
// Started programs have their own such place (started_programs.h).
#pragma once

#include "platform/platform.h"
#include "platform/text_file.h"

enum ChangeOutcome {
    ChangeDone,       // deleted now: callers count on it being gone (the
                      // search of subkeys does), so nothing that only
                      // records a change may answer it
    ChangeScheduled,  // left for the next start of Windows
    ChangeRefused,    // a protected place: left alone on purpose
    ChangeMissing,    // there was nothing to delete
    ChangeKept,       // not deleted: it still holds something, or is a folder
    ChangeFailed,     // the system refused; `error` says why
    ChangePreviewed,  // a preview: it would be changed, and nothing was
};

// True when the change was made, or would be in a preview: what a caller
// that goes on as after a success asks.
inline bool ChangeMadeOrPreviewed(ChangeOutcome outcome) {
    return outcome == ChangeDone || outcome == ChangePreviewed;
}

struct ChangeResult {
    ChangeOutcome outcome;
    DWORD error;  // ChangeFailed: the system's error, or the report's code
};

enum KeyDeletion { KeyWithEverything, KeyOnlyIfEmpty };

// The key `path` below a hive root, with everything below it, or only when
// it is empty. Failures inside the deletion are reported as before.
ChangeResult DeleteRegistryKey(HKEY root, const char* path, KeyDeletion how);
// The subkey `name` of an open key, which lies at `parent_path` below the
// hive `root` (the guardrails judge the whole path).
ChangeResult DeleteRegistrySubkey(HKEY root, const char* parent_path, HKEY parent, const char* name,
                                  KeyDeletion how);
// The value `name` of an open key at `key_path` below the hive `root`.
ChangeResult DeleteRegistryValue(HKEY root, HKEY key, const char* key_path, const char* name);
// Writes the text value `name` of an open key at `key_path` below `root`.
ChangeResult SetRegistryText(HKEY root, HKEY key, const char* key_path, const char* name,
                             const char* text);
// Writes the number value `name` (REG_DWORD) of an open key at `key_path`.
ChangeResult SetRegistryNumber(HKEY root, HKEY key, const char* key_path, const char* name,
                               DWORD number);
// A file other programs still use stays: its count `count` in the open
// key at `key_path` (value `name`) goes down by one instead.
ChangeResult LowerSharedCount(HKEY key, const char* key_path, const char* name, const char* path,
                              DWORD count);

// Sends WM_CLOSE to the top-level windows of the class until none is left,
// at most `max_messages` times: done when none is left, kept when one
// still is, missing when there was none.
ChangeResult CloseWindowsOfClass(const char* window_class, int max_messages);

// The three file changes refuse Windows' own files (protected_files.h)
// before anything else.
// Clears the read-only attribute of a file whose attributes the search gave,
// so that it can be deleted.
ChangeResult ClearReadOnly(const char* path, DWORD attributes);
ChangeResult DeleteFileNow(const char* path);
// Leaves the file's deletion to the next start of Windows, the way this
// family carries it out. A folder is refused: no folder is an installed file.
ChangeResult DeleteFileAtRestart(const char* path, DWORD family);
ChangeResult RemoveFolder(const char* path);
// Removes the folder when `empty_now` says it is empty, else keeps it
// without a word. A preview has deleted nothing, so it takes the folder as
// the run would leave it and records the removal.
ChangeResult RemoveFolderIfEmpty(const char* path, bool empty_now);
// Leaves the folder's removal to the next start of Windows, after the
// files scheduled before it (the NT family only).
ChangeResult RemoveFolderAtRestart(const char* path);

// This program's own file, or a tool of its, that a copy of the program
// deletes once this process has ended (app/cleanup_copy.h): recorded, or
// listed in a preview.
ChangeResult HandFileToCleanupCopy(const char* path);
// The copy found another file where the run found one of its own.
ChangeResult KeepReplacedFile(const char* path);

// Creates the file `path` for this run's own writing (`what` names it in
// the log): done with `file` open, failed with the error, or, in a
// preview, previewed with nothing created.
ChangeResult CreateRunFile(TextFile* file, const char* path, const char* what);

// The restart question a deferred deletion asks for (system/restart.h):
// true when the user accepted. A preview only records that it would come.
bool AskWindowsRestart();

// Whether the files that a search pattern matches may be deleted at all;
// a refusal is an outcome like any other.
bool MayDeleteMatches(const char* pattern);
