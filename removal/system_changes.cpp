// The gateway for every change the removal makes: the guardrails first,
// then the change (or, in a preview, a look at what is there), then its
// outcome in the run log. Paths in the system folder's "drivers" are
// changed in the native file view, where 64-bit Windows keeps the
// adapter's drivers.
#include "removal/system_changes.h"

#include "messages/error_report.h"
#include "platform/mbtext.h"
#include "removal/delete_on_restart.h"
#include "removal/native_file_view.h"
#include "removal/protected_files.h"
#include "removal/protected_folders.h"
#include "removal/protected_keys.h"
#include "removal/registry_delete.h"
#include "system/run_log.h"
#include "system/run_state.h"

namespace {

enum ChangeKind { KeyDeletionChange, EmptyKeyDeletionChange, ValueDeletionChange, ValueWriteChange,
                  AttributeChange, FileDeletionChange, RestartDeletionChange, FolderRemovalChange,
                  PatternDeletionChange, WindowCloseChange };

const char* ActionText(ChangeKind kind) {
    static const char* const kActions[] = {
        "delete key",  "delete key if empty", "delete value",      "write value",
        "clear read-only", "delete file",     "delete file at restart", "remove folder",
        "delete files matching", "close windows of class",
    };
    return kActions[kind];
}

const char* OutcomeText(ChangeOutcome outcome) {
    switch (outcome) {
    case ChangeDone: return "done";
    case ChangeScheduled: return "scheduled for deletion at the next start of Windows";
    case ChangeRefused: return "refused by a guardrail";
    case ChangeMissing: return "missing";
    case ChangeKept: return "kept: not empty, or not there";
    case ChangeFailed: return "failed";
    case ChangePreviewed: return "would be done";
    }
    return "";
}

// Every outcome passes here on its way back to the step that asked. A
// preview's own findings come as `note` instead of the outcome's text.
ChangeResult Outcome(ChangeKind kind, const char* subject, ChangeOutcome outcome, DWORD error = 0,
                     const char* note = nullptr) {
    // Clearing the attribute is part of a deletion: only its failure counts.
    if (kind != AttributeChange || outcome == ChangeFailed)
        LogChange(ActionText(kind), subject, note ? note : OutcomeText(outcome), error);
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

const char* RootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    return root == HKEY_CURRENT_USER ? "HKCU" : "HKEY";
}

// "HKLM\parent\name" for the log, cut to the buffer when it must be.
struct KeyName {
    char text[2100];  // a description's longest key path, twice over
    KeyName(HKEY root, const char* parent, const char* name, const char* value = nullptr) {
        const char* parts[] = {RootName(root), parent, name, value};
        text[0] = 0;
        for (const char* part : parts) Append(part);
    }
    void Append(const char* part) {
        if (!part || !part[0]) return;
        size_t used = strlen(text);
        if (used && used + 1 < sizeof text) {
            text[used++] = '\\';
            text[used] = 0;
        }
        MbCopy(text + used, sizeof text - used, part);
    }
};

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
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
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

// Windows' own files are refused before anything is done to them; the log
// says which rule refused.
bool IsWindowsFile(ChangeKind kind, const char* path, ChangeResult* refused) {
    const char* reason = WindowsFileRefusal(path);
    if (!reason) return false;
    char note[160];
    wsprintfA(note, "%s: %s", OutcomeText(ChangeRefused), reason);
    *refused = Outcome(kind, path, ChangeRefused, 0, note);
    return true;
}

ChangeResult PreviewWindowClosing(const char* window_class) {
    if (!FindWindowA(window_class, nullptr)) return Outcome(WindowCloseChange, window_class, ChangeMissing);
    return Outcome(WindowCloseChange, window_class, ChangePreviewed, 0, "open now: would be closed");
}

}  // namespace

ChangeResult DeleteRegistrySubkey(HKEY root, const char* parent_path, HKEY parent, const char* name,
                                  KeyDeletion how) {
    KeyName subject(root, parent_path, name);
    if (IsProtectedKey(parent_path, name)) return Outcome(KeyDeletionChange, subject.text, ChangeRefused);
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

// The search's attributes are written back without the read-only one.
ChangeResult ClearReadOnly(const char* path, DWORD attributes) {
    ChangeResult refused;
    if (IsWindowsFile(AttributeChange, path, &refused)) return refused;
    if (PreviewRun) return ChangeResult{ChangePreviewed, 0};
    NativeFileView view = EnterNativeViewFor(path);
    BOOL done = SetFileAttributesA(path, attributes & ~(DWORD)FILE_ATTRIBUTE_READONLY);
    DWORD error = done ? 0 : GetLastError();
    LeaveNativeView(view);
    return FileOutcome(AttributeChange, path, done, error);
}

ChangeResult DeleteFileNow(const char* path) {
    ChangeResult result;
    if (IsWindowsFile(FileDeletionChange, path, &result)) return result;
    NativeFileView view = EnterNativeViewFor(path);
    if (PreviewRun) {
        result = PreviewFileDeletion(path);
    } else {
        BOOL done = DeleteFileA(path);
        result = FileOutcome(FileDeletionChange, path, done, done ? 0 : GetLastError());
    }
    LeaveNativeView(view);
    return result;
}

// A folder scheduled like a file would go at the restart once it is empty.
ChangeResult DeleteFileAtRestart(const char* path, DWORD family) {
    ChangeResult refused;
    if (IsWindowsFile(RestartDeletionChange, path, &refused)) return refused;
    NativeFileView view = EnterNativeViewFor(path);
    DWORD attributes = GetFileAttributesA(path);
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!folder && !PreviewRun) ScheduleDeleteAtRestart(path, family);
    LeaveNativeView(view);
    const char* note = PreviewRun && !folder ? "would be scheduled for the next start of Windows" : nullptr;
    return Outcome(RestartDeletionChange, path, folder ? ChangeRefused : ChangeScheduled, 0, note);
}

ChangeResult RemoveFolder(const char* path) {
    if (IsProtectedFolder(path)) return Outcome(FolderRemovalChange, path, ChangeRefused);
    if (PreviewRun) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) return Outcome(FolderRemovalChange, path, ChangeMissing);
        return Outcome(FolderRemovalChange, path, ChangePreviewed, 0, "would be removed if empty");
    }
    BOOL done = RemoveDirectoryA(path);
    return FileOutcome(FolderRemovalChange, path, done, done ? 0 : GetLastError());
}

bool MayDeleteMatches(const char* pattern) {
    if (!IsProtectedPattern(pattern)) return true;
    Outcome(PatternDeletionChange, pattern, ChangeRefused);
    return false;
}

// SendMessageA returns once the window has handled each message.
ChangeResult CloseWindowsOfClass(const char* window_class, int max_messages) {
    if (PreviewRun) return PreviewWindowClosing(window_class);
    for (int sent = 0; sent < max_messages; ++sent) {
        HWND window = FindWindowA(window_class, nullptr);
        if (!window) return Outcome(WindowCloseChange, window_class, sent ? ChangeDone : ChangeMissing);
        SendMessageA(window, WM_CLOSE, 0, 0);
    }
    return Outcome(WindowCloseChange, window_class, ChangeKept, 0, "still open: it ignores WM_CLOSE");
}
