// How the run log words each change and its outcome: the action, the item
// and what became of it, a refusal with its reason.
#include "removal/change_log.h"

#include "platform/mbtext.h"
#include "removal/delete_on_restart.h"
#include "system/run_log.h"
#include "system/run_summary.h"
#include "system/run_state.h"

namespace {

const char* ActionText(ChangeKind kind) {
    static const char* const kActions[] = {
        "delete key",  "delete key if empty", "delete value",      "write value",
        "clear read-only", "delete file",     "delete file at restart", "remove folder",
        "delete files matching", "close windows of class", "remove folder at restart",
        "delete file after this process", "start the uninstall command of",
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

const char* RootName(HKEY root) {
    if (root == HKEY_LOCAL_MACHINE) return "HKLM";
    return root == HKEY_CURRENT_USER ? "HKCU" : "HKEY";
}

// A file Windows will not let go now is scheduled next: no failure yet.
bool LeadsToTheRestart(ChangeKind kind, DWORD error) {
    return kind == FileDeletionChange && WaitsForTheRestart(error);
}

// Writes and the hand-over are no removals: the copy counts its own.
void Count(ChangeKind kind, ChangeOutcome outcome, DWORD error) {
    if (kind == ValueWriteChange || kind == AttributeChange || kind == HandOverChange) {
        if (outcome == ChangeFailed) CountInRunSummary(CountFailed);
        return;
    }
    switch (outcome) {
    case ChangeDone: case ChangePreviewed: CountInRunSummary(CountRemoved); break;
    case ChangeScheduled: CountInRunSummary(CountScheduled); NoteRestartPending(); break;
    case ChangeRefused: CountInRunSummary(CountRefused); break;
    case ChangeKept: CountInRunSummary(CountKept); break;
    case ChangeFailed: if (!LeadsToTheRestart(kind, error)) CountInRunSummary(CountFailed); break;
    case ChangeMissing: break;
    }
}

}  // namespace

ChangeResult Outcome(ChangeKind kind, const char* subject, ChangeOutcome outcome, DWORD error,
                     const char* note) {
    Count(kind, outcome, error);
    // Clearing the attribute is part of a deletion: only its failure counts.
    if (kind != AttributeChange || outcome == ChangeFailed)
        LogChange(ActionText(kind), subject, note ? note : OutcomeText(outcome), error);
    return ChangeResult{outcome, error};
}

// The step goes on as for any other outcome.
ChangeResult Refused(ChangeKind kind, const char* subject, const char* reason) {
    if (MbAfterPrefixNoCase(reason, "kept: ")) {
        if (kind == AttributeChange) return ChangeResult{ChangeRefused, 0};  // the deletion says it
        CountInRunSummary(CountKept);
        LogChange(ActionText(kind), subject, reason, 0);
        return ChangeResult{ChangeRefused, 0};
    }
    char note[160];
    wsprintfA(note, "%s: %s", OutcomeText(ChangeRefused), reason);  // reasons are short constants
    return Outcome(kind, subject, ChangeRefused, 0, note);
}

void LogFileEvidence(const char* path, const char* evidence) {
    LogChange("the product's file", path, evidence, 0);
}

void LogLeftAlone(ChangeKind kind, const char* subject, const char* reason) {
    char note[200];
    wsprintfA(note, "left alone: %s", reason);  // reasons are short constants
    LogChange(ActionText(kind), subject, note, 0);
}

void LogSharedFileKept(const char* path, DWORD count) {
    CountInRunSummary(CountKept);
    char note[128];
    wsprintfA(note, "shared by %u programs: the count %s %u, the file stays", (unsigned)count,
              PreviewRun ? "would become" : "becomes", (unsigned)(count - 1));
    LogChange("shared file", path, note, 0);
}

KeyName::KeyName(HKEY root, const char* parent, const char* name, const char* value) {
    const char* parts[] = {RootName(root), parent, name, value};
    text[0] = 0;
    for (const char* part : parts) Append(part);
}

void KeyName::Append(const char* part) {
    if (!part || !part[0]) return;
    size_t used = strlen(text);
    if (used && used + 1 < sizeof text) {
        text[used++] = '\\';
        text[used] = 0;
    }
    MbCopy(text + used, sizeof text - used, part);
}
