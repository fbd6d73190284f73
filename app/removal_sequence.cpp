// One complete removal of what a description names: the hand-over to the
// product's own uninstaller, the confirmation, the steps in their fixed
// order with the progress dialog moved between them.
#include "app/removal_sequence.h"

#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "system/run_state.h"
#include "messages/localized_box.h"
#include "removal/guardrails/protected_folders.h"
#include "removal/removal_steps.h"
#include "removal/guardrails/service_evidence.h"
#include "removal/system_changes.h"
#include "system/program_wait.h"
#include "system/run_log.h"

namespace {

// Message ids of the confirmation, the dialog's title and its status lines.
const UINT kConfirmCaptionId = 1;
const UINT kConfirmTextId = 2;
const UINT kTitleId = 3;
const UINT kDevicesId = 6;
const UINT kAppletsId = 7;
const UINT kConfigurationId = 8;
const UINT kFilesId = 9;
const UINT kUninstallInfoId = 10;
const UINT kRegistryKeysId = 11;
const UINT kFinishedId = 12;

const DWORD kStepPause = 500;
const DWORD kFinalPause = 1000;

// The pauses let the user read each status line; only with a dialog,
// which keeps answering meanwhile.
void Pause(HWND dialog, DWORD milliseconds) {
    if (dialog) PauseAnswering(milliseconds);
}

typedef int (*RemovalStep)(const UninstallData& data);

// Each step between its two lines in the run log.
int RunStep(const char* name, RemovalStep step, const UninstallData& data) {
    LogStepBegin(name);
    int result = step(data);
    LogStepEnd(name, result);
    return result;
}

// What waited while the last step worked is handled after each update.
void Progress(HWND dialog, UINT message_id, int percent) {
    if (!dialog) return;
    ShowProgressStep(dialog, message_id, percent);
    HandleWaitingMessages();
}

// 0 when the user confirmed, else the sequence's result: 5 for any answer
// but OK, 6 when a text is missing (then no box is shown).
int Confirm() {
    int answer = ShowLocalizedBox(kConfirmTextId, kConfirmCaptionId, MB_OKCANCEL | MB_ICONQUESTION);
    int result = answer == -1 ? 6 : answer == IDOK ? 0 : 5;
    LogLine("confirmation: %s", result == 0 ? "the user confirmed"
                                : result == 5 ? "the user did not confirm"
                                              : "its text is missing");
    return result;
}

void ShowDialog(HWND dialog) {
    SendProgressCommand(dialog, PROGRESS_CMD_TITLE, kTitleId);
    ShowProgressWindow(dialog, true);
    Progress(dialog, kAppletsId, 30);
}

void RemoveDevicesStep(HWND dialog, const UninstallData& data) {
    if (!data.remove_device) return;
    Progress(dialog, kDevicesId, 50);
    RunStep("RemoveDevices", RemoveDevices, data);
    if (dialog) ShowProgressWindow(dialog, true);
    Pause(dialog, kStepPause);
}

// Applets, devices, service programs and files.
void RunFirstSteps(HWND dialog, const UninstallData& data) {
    RunStep("StopSupportApplets", StopSupportApplets, data);
    Pause(dialog, kStepPause);
    RemoveDevicesStep(dialog, data);
    Progress(dialog, kConfigurationId, 60);
    RunStep("RunServiceUninstallers", RunServiceUninstallers, data);
    Pause(dialog, kStepPause);
    Progress(dialog, kFilesId, 70);
    RunStep("RemoveInstalledFiles", RemoveInstalledFiles, data);
    Pause(dialog, kStepPause);
}

// The registry's share and the shortcut, with "Finished removal!" and a
// full bar already on screen while the last four run.
void RunLastSteps(HWND dialog, const UninstallData& data) {
    Progress(dialog, kUninstallInfoId, 80);
    RunStep("RemoveUninstallEntry", RemoveUninstallEntry, data);
    Pause(dialog, kStepPause);
    Progress(dialog, kRegistryKeysId, 85);
    Pause(dialog, kStepPause);
    Progress(dialog, kFinishedId, 100);
    RunStep("RemoveRegistryKeys", RemoveRegistryKeys, data);
    RunStep("RemoveSoftwareKey", RemoveSoftwareKey, data);
    RunStep("RemoveDescriptionKey", RemoveDescriptionKey, data);
    RunStep("RemoveStartMenuShortcut", RemoveStartMenuShortcut, data);
    Pause(dialog, kFinalPause);
    if (dialog) ShowProgressWindow(dialog, false);
}

// The registered command's result: 0 when it took the removal over.
int HandOver(HWND dialog, const UninstallData& data) {
    LogStepBegin("RunRegisteredUninstaller");
    int result = RunRegisteredUninstaller(dialog, data);
    LogStepEnd("RunRegisteredUninstaller", result);
    return result;
}

// What the user sees is the one thing a preview decides here, since no
// change is involved: it neither asks nor shows (`*dialog` becomes null, so
// that the steps neither show progress nor pause), it only says that it
// would.
int ConfirmAndShow(HWND* dialog) {
    if (PreviewRun) {
        LogEvent("the user would be asked to confirm the removal");
        *dialog = nullptr;
        return 0;
    }
    if (int refused = Confirm()) return refused;
    ShowDialog(*dialog);
    return 0;
}

// No step's result changes the course: each reports its own failures.
int RunSequence(HWND dialog, const UninstallData& data) {
    if (HandOver(dialog, data) == 0 && !data.force_local_uninstall) {
        LogEvent("the registered uninstall command took the removal over");
        return 0;
    }
    HWND shown = dialog;
    if (shown) {
        if (int refused = ConfirmAndShow(&shown)) return refused;
    }
    RunFirstSteps(shown, data);
    RunLastSteps(shown, data);
    // The restart, when one is needed, is asked once the whole process is
    // done (app/run_uninstall.h): a restart now would cut off what follows.
    return 0;
}

}  // namespace

// The waits for started programs keep the dialog answering, the hand-over's
// included, while this sequence runs. What ties services to the product is
// read before anything, the hand-over included, can delete its INF files,
// and with it what ties files to it (file_evidence.h).
// The protected places are gathered once for the whole run: no change of
// the run's can touch them, and each step would otherwise gather them anew.
int RunRemovalSequence(HWND dialog, const UninstallData& data) {
    RememberProtectedPlaces places;
    SetAnsweringDialog(dialog);
    NoteServiceEvidence(data);
    int result = RunSequence(dialog, data);
    ForgetServiceEvidence();
    SetAnsweringDialog(nullptr);
    return result;
}
