// What the run did, counted as it happens: the exit code a deployment
// tool reads and the run log's last line both come from here.
#pragma once

#include "platform/platform.h"

enum SummaryCount { CountRemoved, CountScheduled, CountKept, CountRefused, CountFailed, kSummaryCounts };

void ClearRunSummary();
void CountInRunSummary(SummaryCount what);
int RunSummaryCount(SummaryCount what);

// A restart would complete the removal, asked for or not: a deletion waits
// for it (in every mode, "install" included), or the product's own
// uninstall command answered that it needs one.
void NoteRestartPending();
bool RestartPending();

// The registered uninstall command's exit code: 3010 and 1641 say a
// restart completes (or has begun to complete) its removal.
void NoteCommandExitCode(DWORD exit_code);

// The run's last line: what was removed, scheduled, kept, refused and
// failed, the exit code and whether a restart is needed. Nothing when the
// summary was handed to the cleanup copy, which writes it after its lines.
void LogRunSummary(int exit_code);

// The counts as they stand are the ones the summary gives: the cleanup
// copy's deletion of its own files at the next start completes no removal.
void FreezeRunSummary();

// The exit code the run will end with, as far as it is known when the
// cleanup copy is started.
void NoteExitCodeSoFar(int exit_code);

// The counts and that exit code as a word of the copy's command line
// ("/summary=..."); empty when it does not fit `size`.
void FormSummaryWord(char* word, size_t size);
// The copy was started with the word: this process writes no summary.
void LeaveSummaryToCopy();

// The exit code a run told not to restart (or one no one can see) ends
// with: Windows Installer's, which deployment tools read (1603 a step
// failed, 1605 nothing of the product found, 3010 a restart completes
// the removal). Any other run keeps `exit_code`, the code its callers know.
int DeploymentExitCode(int exit_code);

// In the copy: the run's counts and exit code taken from the word found
// in `command_line`, so that the copy's summary is the whole run's.
void TakeSummaryFromRun(const char* command_line);
