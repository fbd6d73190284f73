// The end of a removal whose description names this program or its device
// tools: they cannot be deleted while this process runs, so a copy of the
// program, in a new folder of its own below the temporary folder, does it
// once this process has ended.
#pragma once

#include "platform/platform.h"

// Starts the copy when files were left to it (never in a preview, which
// lists them); the copy appends to this run's log when one is open.
// `command_line` is this process's. The files stay noted until
// ForgetOwnFiles, for a restart that may come.
void HandOverToCleanupCopy(const char* command_line);

// Windows is about to restart and may end the copy before it is done: the
// files handed to it are deleted at the next start as well.
void ScheduleHandedFilesAtRestart();

// True when the command-line tail is the hand-over's: this process is the
// copy.
bool IsCleanupCopyTail(const char* tail);

// The copy's run: waits for the uninstaller's process to end, deletes each
// file the run handed to it (never one its command line alone names)
// while it is still the file the run found, then the folders that leaves
// empty, and schedules its own deletion, and its folder's, for the next
// start of Windows without asking for it. Its exit code is 0.
int RunCleanupCopy(const char* tail);
