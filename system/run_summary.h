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
// failed, the exit code and whether a restart is needed.
void LogRunSummary(int exit_code);
