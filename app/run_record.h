// The run's record around the entry point: "/preview" and "/log=" read, the
// log opened with its first line, and at the end the exit code written, the
// log closed and, for a preview, the user told where it is.
#pragma once

#include "platform/platform.h"

// `run` says whether a mode word was found: without one there is no run to
// preview, and only a log that was asked for is written.
void BeginRunRecord(const char* command_line, bool run);
// The exit code and the run's summary are its last lines.
void EndRunRecord(int exit_code);

// True when "/log=" asked for a log that could not be opened.
bool RunLogMissing();
