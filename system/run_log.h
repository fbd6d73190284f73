// The record of a run: one line per event, each with the local time in
// front, appended to the file that "/log=" names (or, in a preview, to the
// preview's file). Without an open log every call does nothing. Each event
// is one call; how it reads is decided here, not in the steps.
#pragma once

#include "platform/platform.h"

// The reason a file that was there may not take the log, or null.
typedef const char* (*LogPlaceJudge)(const char* path);

// Opens the log at `path`: a new file when `create_new` is set (never one
// that already has the name), otherwise appended to. On the NT family a
// link is opened as itself and refused; so is a file with more than one
// name, and a file that was there and is not a log this program wrote:
// `judge` is asked about it, and it is refused unless it is empty. The log
// never writes into another's file. False when it is not opened
// (RunLogRefusal says why): the run goes on without a log. The folders of
// a log to append to are made when they are missing.
bool OpenRunLog(const char* path, bool create_new, LogPlaceJudge judge = nullptr);
// Why the last OpenRunLog failed: a short text, "" after a success.
const char* RunLogRefusal();
void CloseRunLog();
bool RunLogIsOpen();

// The open log's path as it was given ("" without one), for the device
// tools, which append their own lines; the log is shared for writing.
const char* RunLogPath();

// One line: the time, then the text as wsprintfA formats it (cut to 1023
// characters), its control characters escaped ("\n", "\r", "\t", "\xNN")
// so that every event stays one line whatever a value holds.
void LogLine(const char* format, ...);

// A line of what this run does, marked "preview: " in a preview, where it
// is what the run would do.
void LogEvent(const char* format, ...);

// The run's first line: version, command line, Windows version and family,
// the user's language and rights, and whether it is a preview.
void LogRunStart(const char* command_line);
void LogExit(int exit_code);

void LogStepBegin(const char* step);
void LogStepEnd(const char* step, int result);

// A failure as it is reported: the box shows tag and code, the log also
// the diagnostic that names the failing call.
void LogFailure(const char* tag, int32_t code, const char* diagnostic);

// A change to the machine and what became of it: `action` ("delete file"),
// `subject` (a full path or key), `outcome` ("deleted", "failed"...), and
// the Windows error code when it is not 0.
void LogChange(const char* action, const char* subject, const char* outcome, DWORD error);

// A program started and waited for: `what` says which ("service program"),
// `exit_code` is its exit code; `error` the reason when it could not be
// started or waited for (then the exit code is meaningless).
void LogProgram(const char* what, const char* command, bool ran, DWORD exit_code, DWORD error);
// A preview's program: it would be started.
void LogProgramPreviewed(const char* what, const char* command);

// A program the guardrails keep from being started, and why.
void LogRefusedProgram(const char* what, const char* command, const char* reason);

// The restart question: the answer (IDOK, IDCANCEL...); in a preview, that
// it would be asked.
void LogRestartQuestion(int answer);
void LogRestartPreviewed();
