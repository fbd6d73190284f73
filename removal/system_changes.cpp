// The gateway for every change the removal makes: the guardrails first,
// then the change, then its outcome. Paths in the system folder's
// "drivers" are changed in the native file view, where 64-bit Windows keeps
// the adapter's drivers.
#include "removal/system_changes.h"

#include "messages/error_report.h"
#include "removal/delete_on_restart.h"
#include "removal/native_file_view.h"
#include "removal/protected_places.h"
#include "removal/registry_delete.h"

namespace {

enum ChangeKind { KeyDeletionChange, ValueDeletionChange, AttributeChange, FileDeletionChange,
                  RestartDeletionChange, FolderRemovalChange, PatternDeletionChange };

// Every outcome passes here on its way back to the step that asked: the one
// place where a record of the run (or a preview that records instead of
// changing) belongs.
ChangeResult Outcome(ChangeKind kind, const char* subject, ChangeOutcome outcome, DWORD error = 0) {
    (void)kind;
    (void)subject;
    return ChangeResult{outcome, error};
}

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A file call's outcome from its success and the error it left.
ChangeResult FileOutcome(ChangeKind kind, const char* path, BOOL done, DWORD error) {
    if (done) return Outcome(kind, path, ChangeDone);
    return Outcome(kind, path, IsMissingError(error) ? ChangeMissing : ChangeFailed, error);
}

}  // namespace

ChangeResult DeleteRegistrySubkey(const char* parent_path, HKEY parent, const char* name,
                                  KeyDeletion how) {
    if (IsProtectedKey(parent_path, name)) return Outcome(KeyDeletionChange, name, ChangeRefused);
    if (how == KeyOnlyIfEmpty && IsKeyEmpty(parent, name) != 1)
        return Outcome(KeyDeletionChange, name, ChangeKept);
    LONG opened = ERROR_SUCCESS;
    if (DeleteKeyTree(parent, name, &opened) == 0) return Outcome(KeyDeletionChange, name, ChangeDone);
    if (opened == ERROR_FILE_NOT_FOUND) return Outcome(KeyDeletionChange, name, ChangeMissing);
    DWORD error = opened != ERROR_SUCCESS ? (DWORD)opened : (DWORD)ErrorState.code;
    return Outcome(KeyDeletionChange, name, ChangeFailed, error);
}

ChangeResult DeleteRegistryKey(HKEY root, const char* path, KeyDeletion how) {
    return DeleteRegistrySubkey("", root, path, how);
}

ChangeResult DeleteRegistryValue(HKEY key, const char* key_path, const char* name) {
    (void)key_path;
    LONG status = RegDeleteValueA(key, name);
    if (status == ERROR_SUCCESS) return Outcome(ValueDeletionChange, name, ChangeDone);
    ChangeOutcome outcome = status == ERROR_FILE_NOT_FOUND ? ChangeMissing : ChangeFailed;
    return Outcome(ValueDeletionChange, name, outcome, (DWORD)status);
}

// The attributes are written back whatever they were.
ChangeResult ClearReadOnly(const char* path) {
    NativeFileView view = EnterNativeViewFor(path);
    DWORD attributes = GetFileAttributesA(path);
    BOOL done = attributes != INVALID_FILE_ATTRIBUTES &&
                SetFileAttributesA(path, attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY);
    DWORD error = done ? 0 : GetLastError();
    LeaveNativeView(view);
    return FileOutcome(AttributeChange, path, done, error);
}

ChangeResult DeleteFileNow(const char* path) {
    NativeFileView view = EnterNativeViewFor(path);
    BOOL done = DeleteFileA(path);
    DWORD error = done ? 0 : GetLastError();
    LeaveNativeView(view);
    return FileOutcome(FileDeletionChange, path, done, error);
}

// A folder scheduled like a file would go at the restart once it is empty.
ChangeResult DeleteFileAtRestart(const char* path, DWORD family) {
    NativeFileView view = EnterNativeViewFor(path);
    DWORD attributes = GetFileAttributesA(path);
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!folder) ScheduleDeleteAtRestart(path, family);
    LeaveNativeView(view);
    return Outcome(RestartDeletionChange, path, folder ? ChangeRefused : ChangeScheduled);
}

ChangeResult RemoveFolder(const char* path) {
    if (IsProtectedFolder(path)) return Outcome(FolderRemovalChange, path, ChangeRefused);
    BOOL done = RemoveDirectoryA(path);
    return FileOutcome(FolderRemovalChange, path, done, done ? 0 : GetLastError());
}

bool MayDeleteMatches(const char* pattern) {
    if (!IsProtectedPattern(pattern)) return true;
    Outcome(PatternDeletionChange, pattern, ChangeRefused);
    return false;
}
