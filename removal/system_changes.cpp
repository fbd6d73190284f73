// The gateway for every change the removal makes: the guardrails first
// (a refusal is logged with its reason), then the change (or, in a
// preview, a look at what is there), then its outcome in the run log
// (worded in change_log.cpp). Paths in the system folder's "drivers" are
// changed in the native file view, where 64-bit Windows keeps the
// adapter's drivers. A file is changed as the object that was judged
// (held_files.h), its folder judged again at each change.
#include "removal/system_changes.h"

#include "messages/error_report.h"
#include "removal/change_log.h"
#include "removal/delete_on_restart.h"
#include "removal/file_in_use.h"
#include "removal/held_files.h"
#include "removal/native_file_view.h"
#include "removal/path_macros.h"
#include "removal/guardrails/protected_files.h"
#include "removal/guardrails/protected_folders.h"
#include "removal/guardrails/protected_keys.h"
#include "removal/registry_delete.h"
#include "removal/registry_links.h"
#include "system/other_windows.h"
#include "system/restart.h"
#include "system/run_log.h"
#include "system/run_state.h"

namespace {

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A file call's outcome from its success and the error it left.
ChangeResult FileOutcome(ChangeKind kind, const char* path, BOOL done, DWORD error) {
    if (done) return Outcome(kind, path, ChangeDone);
    return Outcome(kind, path, IsMissingError(error) ? ChangeMissing : ChangeFailed, error);
}

bool KeyExists(HKEY parent, const char* name) {
    HKEY key;
    if (RegOpenKeyA(parent, name, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

ChangeResult PreviewKeyDeletion(const char* subject, HKEY parent, const char* name, KeyDeletion how) {
    if (!KeyExists(parent, name)) return Outcome(KeyDeletionChange, subject, ChangeMissing);
    if (how == KeyWithEverything)
        return Outcome(KeyDeletionChange, subject, ChangePreviewed, 0,
                       "exists, would be deleted with everything below it");
    bool empty = IsKeyEmpty(parent, name) == 1;
    return Outcome(EmptyKeyDeletionChange, subject, ChangePreviewed, 0,
                   empty ? "would be deleted only if empty: it is empty now"
                         : "would be deleted only if empty: it is not empty now");
}

ChangeResult DeleteKeyNow(const char* subject, HKEY parent, const char* name, KeyDeletion how) {
    ChangeKind kind = how == KeyOnlyIfEmpty ? EmptyKeyDeletionChange : KeyDeletionChange;
    if (how == KeyOnlyIfEmpty && IsKeyEmpty(parent, name) != 1)
        return Outcome(kind, subject, ChangeKept);
    LONG opened = ERROR_SUCCESS;
    if (DeleteKeyTree(parent, name, &opened) == 0) return Outcome(kind, subject, ChangeDone);
    if (opened == ERROR_FILE_NOT_FOUND) return Outcome(kind, subject, ChangeMissing);
    DWORD error = opened != ERROR_SUCCESS ? (DWORD)opened : (DWORD)ErrorState.code;
    return Outcome(kind, subject, ChangeFailed, error);
}

bool ValueExists(HKEY key, const char* name) {
    return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Windows keeps a running program, or a file held open, from being written
// as it keeps it from being deleted: a preview's guess at a deletion that
// would wait for the restart. A read-only file would first be made writable.
bool LooksInUse(const char* path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;
    return WriteOpenRefused(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

// What the deletion would find: missing, in use (answered as the refusal a
// real deletion would meet), or a file that would go.
ChangeResult PreviewFileDeletion(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return Outcome(FileDeletionChange, path, ChangeMissing);
    if (LooksInUse(path, attributes))
        return Outcome(FileDeletionChange, path, ChangeFailed, ERROR_ACCESS_DENIED,
                       "in use now: its deletion would wait for the restart");
    return Outcome(FileDeletionChange, path, ChangePreviewed, 0, "would be deleted");
}

// A file is refused for where it is (its folder, a link, a share) or for
// what it is (Windows' own), before anything is done to it. A match of a
// search whose folder has an identity is judged where it is by its
// folder's handle at the change itself, against the folder the search was
// judged in: its path needs no second look (on Wine a look at the drive
// costs more than the deletion).
// `handles` is ChangesThroughHandles() outside a preview, asked once for
// each change.
const char* FileRefusal(const char* path, bool handles) {
    bool by_handle = handles && SearchFolderHasIdentity();
    if (const char* reason = by_handle ? nullptr : FileChangeRefusal(path)) return reason;
    return WindowsFileRefusal(path);
}

ChangeResult PreviewWindowClosing(const char* window_class) {
    if (!FindWindowOfClass(window_class)) return Outcome(WindowCloseChange, window_class, ChangeMissing);
    return Outcome(WindowCloseChange, window_class, ChangePreviewed, 0, "open now: would be closed");
}

}  // namespace

ChangeResult DeleteRegistrySubkey(HKEY root, const char* parent_path, HKEY parent, const char* name,
                                  KeyDeletion how) {
    KeyName subject(root, parent_path, name);
    const char* reason = KeyRefusal(parent_path, name);
    if (!reason) reason = LinkRefusal(root, parent_path, name);
    if (reason) return Refused(KeyDeletionChange, subject.text, reason);
    if (PreviewRun) return PreviewKeyDeletion(subject.text, parent, name, how);
    return DeleteKeyNow(subject.text, parent, name, how);
}

ChangeResult DeleteRegistryKey(HKEY root, const char* path, KeyDeletion how) {
    return DeleteRegistrySubkey(root, "", root, path, how);
}

ChangeResult DeleteRegistryValue(HKEY root, HKEY key, const char* key_path, const char* name) {
    KeyName subject(root, key_path, nullptr, name);
    if (PreviewRun) {
        if (!ValueExists(key, name)) return Outcome(ValueDeletionChange, subject.text, ChangeMissing);
        return Outcome(ValueDeletionChange, subject.text, ChangePreviewed, 0, "would be deleted");
    }
    LONG status = RegDeleteValueA(key, name);
    if (status == ERROR_SUCCESS) return Outcome(ValueDeletionChange, subject.text, ChangeDone);
    ChangeOutcome outcome = status == ERROR_FILE_NOT_FOUND ? ChangeMissing : ChangeFailed;
    return Outcome(ValueDeletionChange, subject.text, outcome, (DWORD)status);
}

ChangeResult SetRegistryText(HKEY root, HKEY key, const char* key_path, const char* name,
                             const char* text) {
    KeyName subject(root, key_path, nullptr, name);
    if (PreviewRun) return Outcome(ValueWriteChange, subject.text, ChangePreviewed, 0, "would be written");
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
    if (status == ERROR_SUCCESS) return Outcome(ValueWriteChange, subject.text, ChangeDone);
    return Outcome(ValueWriteChange, subject.text, ChangeFailed, (DWORD)status);
}

ChangeResult SetRegistryNumber(HKEY root, HKEY key, const char* key_path, const char* name,
                               DWORD number) {
    KeyName subject(root, key_path, nullptr, name);
    if (PreviewRun) return Outcome(ValueWriteChange, subject.text, ChangePreviewed, 0, "would be written");
    LONG status = RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&number, sizeof number);
    if (status == ERROR_SUCCESS) return Outcome(ValueWriteChange, subject.text, ChangeDone);
    return Outcome(ValueWriteChange, subject.text, ChangeFailed, (DWORD)status);
}

ChangeResult LowerSharedCount(HKEY key, const char* key_path, const char* name, const char* path,
                              DWORD count) {
    LogSharedFileKept(path, count);
    return SetRegistryNumber(HKEY_LOCAL_MACHINE, key, key_path, name, count - 1);
}

// The search's attributes are written back without the read-only one,
// while the file is held as judged.
ChangeResult ClearReadOnly(const char* path, DWORD attributes) {
    bool handles = !PreviewRun && ChangesThroughHandles();
    if (const char* reason = FileRefusal(path, handles)) return Refused(AttributeChange, path, reason);
    if (PreviewRun) return ChangeResult{ChangePreviewed, 0};
    NativeFileView view = EnterNativeViewFor(path);
    HeldFile held;
    DWORD error;
    const char* refusal = HoldFile(path, HeldToLookAt, handles, &held, &error);
    if (!refusal && !error && !SetFileAttributesA(path, attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY))
        error = GetLastError();
    ReleaseHeldFile(&held);
    LeaveNativeView(view);
    if (refusal) return Refused(AttributeChange, path, refusal);
    return FileOutcome(AttributeChange, path, !error, error);
}

namespace {

// Deleted through the handle of what was judged.
ChangeResult DeleteJudgedFile(const char* path, bool handles) {
    HeldFile held;
    DWORD error;
    if (const char* refusal = HoldFile(path, HeldToDelete, handles, &held, &error))
        return Refused(FileDeletionChange, path, refusal);
    if (!error) error = DeleteHeldFile(&held);
    return FileOutcome(FileDeletionChange, path, !error, error);
}

// A file that is no link, in a folder that is the one judged, when it is
// scheduled: the restart itself deletes by path. A file that cannot be
// held (another program holds it open) is judged by its path instead.
const char* RestartRefusal(const char* path, bool handles) {
    HeldFile held;
    DWORD error = 0;
    const char* refusal = HoldFile(path, HeldToLookAt, handles, &held, &error);
    ReleaseHeldFile(&held);
    if (!refusal && error) refusal = FileChangeRefusal(path);
    return refusal;
}

}  // namespace

ChangeResult DeleteFileNow(const char* path) {
    bool handles = !PreviewRun && ChangesThroughHandles();
    if (const char* reason = FileRefusal(path, handles)) return Refused(FileDeletionChange, path, reason);
    NativeFileView view = EnterNativeViewFor(path);
    ChangeResult result = PreviewRun ? PreviewFileDeletion(path) : DeleteJudgedFile(path, handles);
    LeaveNativeView(view);
    return result;
}

// A folder scheduled like a file would go at the restart once it is empty.
// The deletion at the restart runs natively: on 64-bit Windows it is given
// the SysWOW64 file this program saw, not the System32 one of that name.
// A schedule Windows refuses is a failure, and asks for no restart.
ChangeResult DeleteFileAtRestart(const char* path, DWORD family) {
    bool handles = !PreviewRun && ChangesThroughHandles();
    if (const char* reason = FileRefusal(path, handles)) return Refused(RestartDeletionChange, path, reason);
    char seen[PATH_BUFFER_SIZE];
    RedirectedPath redirected = Wow64RedirectedPath(path, seen, sizeof seen);
    if (redirected == PathNotFound)
        return Outcome(RestartDeletionChange, path, ChangeFailed, ERROR_PATH_NOT_FOUND);
    if (redirected == PathRedirected) path = seen;
    NativeFileView view = EnterNativeViewFor(path);
    DWORD attributes = GetFileAttributesA(path);
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    const char* refusal = folder || PreviewRun ? nullptr : RestartRefusal(path, handles);
    DWORD error = folder || PreviewRun || refusal ? 0 : ScheduleDeleteAtRestart(path, family);
    LeaveNativeView(view);
    if (refusal) return Refused(RestartDeletionChange, path, refusal);
    const char* note = PreviewRun && !folder ? "would be scheduled for the next start of Windows" : nullptr;
    ChangeOutcome outcome = folder ? ChangeRefused : error ? ChangeFailed : ChangeScheduled;
    return Outcome(RestartDeletionChange, path, outcome, error, note);
}

ChangeResult RemoveFolder(const char* path) {
    if (const char* reason = FolderRemovalRefusal(path)) return Refused(FolderRemovalChange, path, reason);
    if (PreviewRun) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return Outcome(FolderRemovalChange, path, ChangeMissing);
        return Outcome(FolderRemovalChange, path, ChangePreviewed, 0, "would be removed if empty");
    }
    if (const char* reason = FolderLinkRefusal(path)) return Refused(FolderRemovalChange, path, reason);
    BOOL done = RemoveDirectoryA(path);
    return FileOutcome(FolderRemovalChange, path, done, done ? 0 : GetLastError());
}

ChangeResult RemoveFolderIfEmpty(const char* path, bool empty_now) {
    if (!empty_now && !PreviewRun) return ChangeResult{ChangeKept, 0};
    return RemoveFolder(path);
}

// The NT family's list of pending operations removes a folder only when it
// is empty by then: after the files scheduled before it.
ChangeResult RemoveFolderAtRestart(const char* path) {
    ChangeKind kind = FolderRestartRemovalChange;
    if (const char* reason = FolderRemovalRefusal(path)) return Refused(kind, path, reason);
    if (PreviewRun)
        return Outcome(kind, path, ChangePreviewed, 0, "would be removed at the next start of Windows");
    if (MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return Outcome(kind, path, ChangeScheduled);
    return Outcome(kind, path, ChangeFailed, GetLastError());
}

ChangeResult HandFileToCleanupCopy(const char* path) {
    const char* note = PreviewRun ? "would be deleted by a copy of this program once this run has ended"
                                  : "left to a copy of this program, once this run has ended";
    return Outcome(HandOverChange, path, PreviewRun ? ChangePreviewed : ChangeScheduled, 0, note);
}

ChangeResult KeepReplacedFile(const char* path) {
    return Outcome(FileDeletionChange, path, ChangeKept, 0, "kept: a new file was put there during the run");
}

bool MayDeleteMatches(const char* pattern) {
    const char* reason = PatternRefusal(pattern);
    if (reason) Refused(PatternDeletionChange, pattern, reason);
    return !reason;
}

// SendMessageA returns once the window has handled each message.
ChangeResult CloseWindowsOfClass(const char* window_class, int max_messages) {
    if (PreviewRun) return PreviewWindowClosing(window_class);
    for (int sent = 0; sent < max_messages; ++sent) {
        HWND window = FindWindowOfClass(window_class);
        if (!window) return Outcome(WindowCloseChange, window_class, sent ? ChangeDone : ChangeMissing);
        AskWindowToClose(window);
    }
    return Outcome(WindowCloseChange, window_class, ChangeKept, 0, "still open: it ignores WM_CLOSE");
}

ChangeResult CreateRunFile(TextFile* file, const char* path, const char* what) {
    if (PreviewRun) {
        LogEvent("%s %s would be written", what, path);
        return ChangeResult{ChangePreviewed, 0};
    }
    if (!TextFileCreate(file, path)) return ChangeResult{ChangeFailed, GetLastError()};
    return ChangeResult{ChangeDone, 0};
}

bool AskWindowsRestart() {
    if (!PreviewRun || NoRestartRun) return AskForRestart();
    LogRestartPreviewed();
    return false;
}
