// Counting the run's outcomes for its exit code and its last log line.
#include "system/run_summary.h"

#include "system/run_log.h"
#include "system/run_state.h"

namespace {

int counts[kSummaryCounts];
bool restart_pending;

}  // namespace

void ClearRunSummary() {
    memset(counts, 0, sizeof counts);
    restart_pending = false;
}

void CountInRunSummary(SummaryCount what) { ++counts[what]; }

int RunSummaryCount(SummaryCount what) { return counts[what]; }

void NoteRestartPending() { restart_pending = true; }

bool RestartPending() { return restart_pending || RestartNeeded; }

void NoteCommandExitCode(DWORD exit_code) {
    if (exit_code == 3010 || exit_code == 1641) NoteRestartPending();
}

void LogRunSummary(int exit_code) {
    LogLine("summary: %d removed, %d left for the next start of Windows, %d kept, %d refused, "
            "%d failed; exit code %d; %s",
            counts[CountRemoved], counts[CountScheduled], counts[CountKept], counts[CountRefused],
            counts[CountFailed], exit_code,
            RestartPending() ? "a restart is needed to complete the removal" : "no restart is needed");
}
