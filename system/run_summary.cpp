// Counting the run's outcomes for its exit code and its last log line.
#include "system/run_summary.h"

#include "platform/mbtext.h"
#include "system/run_log.h"
#include "system/run_state.h"

namespace {

int counts[kSummaryCounts];
bool restart_pending;
int exit_code_so_far;
bool handed_to_copy;
bool taken_from_run;    // in the copy: the run's exit code stands
int run_exit_code;
bool frozen;
int frozen_counts[kSummaryCounts];
bool frozen_pending;

const char kSummaryWord[] = "/summary=";

}  // namespace

void ClearRunSummary() {
    memset(counts, 0, sizeof counts);
    restart_pending = false;
    exit_code_so_far = 0;
    handed_to_copy = taken_from_run = frozen = false;
}

void CountInRunSummary(SummaryCount what) { ++counts[what]; }

int RunSummaryCount(SummaryCount what) { return counts[what]; }

void NoteRestartPending() { restart_pending = true; }

bool RestartPending() { return restart_pending || RestartNeeded; }

void NoteCommandExitCode(DWORD exit_code) {
    if (exit_code == 3010 || exit_code == 1641) NoteRestartPending();
}

void FreezeRunSummary() {
    memcpy(frozen_counts, counts, sizeof counts);
    frozen_pending = RestartPending();
    frozen = true;
}

void LogRunSummary(int exit_code) {
    if (handed_to_copy) return;
    if (taken_from_run) exit_code = run_exit_code;
    const int* shown = frozen ? frozen_counts : counts;
    bool pending = frozen ? frozen_pending : RestartPending();
    LogLine("summary: %d removed, %d left for the next start of Windows, %d kept, %d refused, "
            "%d failed; exit code %d; %s",
            shown[CountRemoved], shown[CountScheduled], shown[CountKept], shown[CountRefused],
            shown[CountFailed], exit_code,
            pending ? "a restart is needed to complete the removal" : "no restart is needed");
}

void NoteExitCodeSoFar(int exit_code) { exit_code_so_far = exit_code; }

void FormSummaryWord(char* word, size_t size) {
    char text[128];
    wsprintfA(text, "%s%d,%d,%d,%d,%d,%d,%d", kSummaryWord, counts[CountRemoved], counts[CountScheduled],
              counts[CountKept], counts[CountRefused], counts[CountFailed], RestartPending() ? 1 : 0,
              exit_code_so_far);
    if (size) word[0] = 0;
    if (size > strlen(text)) lstrcpynA(word, text, (int)size);
}

void LeaveSummaryToCopy() { handed_to_copy = true; }

// A missing description is reported by no one: 1 without a failure is a
// run that found nothing of the product.
int DeploymentExitCode(int exit_code) {
    if (!NoRestartRun) return exit_code;
    bool failed = counts[CountFailed] > 0;
    if (exit_code == 1 && !failed) return 1605;
    if (exit_code == 1 || exit_code == 2 || (exit_code == 0 && failed)) return 1603;
    if (exit_code == 0 && RestartPending()) return 3010;
    return exit_code;
}

// Only numbers are read, each at most nine digits: a forged word changes
// nothing but the line.
void TakeSummaryFromRun(const char* command_line) {
    const char* p = MbFind(command_line, kSummaryWord);
    if (!p) return;
    p += sizeof kSummaryWord - 1;
    int values[kSummaryCounts + 2];
    for (int i = 0; i < kSummaryCounts + 2; ++i) {
        int value = 0, digits = 0;
        for (; *p >= '0' && *p <= '9' && digits < 9; ++p, ++digits) value = value * 10 + (*p - '0');
        if (!digits || (i < kSummaryCounts + 1 && *p++ != ',')) return;
        values[i] = value;
    }
    for (int i = 0; i < kSummaryCounts; ++i) counts[i] += values[i];
    if (values[kSummaryCounts]) restart_pending = true;
    run_exit_code = values[kSummaryCounts + 1];
    taken_from_run = true;
}
