// Starting a program and waiting for its end: the one way the removal
// starts the registered uninstall command, the service programs and the
// device-manager tool. Each start is recorded in the run log; in a preview
// the program is listed and not started.
#pragma once

#include "platform/platform.h"

enum ProgramOutcome {
    ProgramEnded,       // started and waited for to its end
    ProgramNotStarted,  // CreateProcessA failed
    ProgramWaitFailed,  // started, but the wait failed
    ProgramPreviewed,   // a preview: listed, not started
};

// How the program starts: with this program's own start-up information
// (the command and the tool), or with none and no window (service programs).
enum ProgramStart { WithOwnStartupInfo, WithoutWindow };

// `what` names the program in the log ("service program"). `command` is
// CreateProcessA's writable command line. Both handles are closed. When
// the program ended, `exit_code` (if given) receives its exit code.
ProgramOutcome StartProgramAndWait(const char* what, char* command, ProgramStart how,
                                   DWORD* exit_code = nullptr);

// Starts a program and leaves it running, with this process's inheritable
// handles and `directory` as its current folder: the hand-over of what can
// only be done after this process has ended. False when it did not start
// (or, in a preview, was only listed).
bool StartProgramAndLeave(const char* what, char* command, const char* directory);
