// How the gateway's changes read in the run log: each outcome passes here
// on its way back to the step that asked.
#pragma once

#include "removal/system_changes.h"

enum ChangeKind { KeyDeletionChange, EmptyKeyDeletionChange, ValueDeletionChange, ValueWriteChange,
                  AttributeChange, FileDeletionChange, RestartDeletionChange, FolderRemovalChange,
                  PatternDeletionChange, WindowCloseChange, FolderRestartRemovalChange,
                  HandOverChange, UninstallCommandChange };

// Logs the change and its outcome and returns it. A preview's own findings
// come as `note` instead of the outcome's text.
ChangeResult Outcome(ChangeKind kind, const char* subject, ChangeOutcome outcome, DWORD error = 0,
                     const char* note = nullptr);

// A refusal, logged with its reason (a short constant). A reason that
// begins "kept: " (another's file, or one nothing shows to be the
// product's) is logged and counted as kept.
ChangeResult Refused(ChangeKind kind, const char* subject, const char* reason);

// Something the description names that shows itself to be Windows' own or
// another program's: left as it is, with the reason (a short constant).
void LogLeftAlone(ChangeKind kind, const char* subject, const char* reason);

// What showed a file outside the product's own folders to be the product's.
void LogFileEvidence(const char* path, const char* evidence);

// A file other programs still use: it stays, and its count of `count`
// goes down by one (or would, in a preview).
void LogSharedFileKept(const char* path, DWORD count);

// "HKLM\parent\name\value" for the log, cut to the buffer when it must be.
struct KeyName {
    char text[2100];  // a description's longest key path, twice over
    KeyName(HKEY root, const char* parent, const char* name, const char* value = nullptr);
    void Append(const char* part);
};
