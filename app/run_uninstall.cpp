// The driver: refuses a user without rights on the NT family, then loads
// each uninstall description and runs the removal on it.
#include "app/run_uninstall.h"

#include "app/cleanup_copy.h"
#include "app/removal_sequence.h"
#include "system/run_state.h"
#include "removal/delete_on_restart.h"
#include "removal/emptied_folders.h"
#include "removal/own_files.h"
#include "removal/removal_steps.h"
#include "messages/localized_box.h"
#include "removal/system_changes.h"
#include "system/administrator.h"
#include "system/restart.h"
#include "system/run_summary.h"
#include "system/run_log.h"
#include "system/windows_family.h"
#include "uninstall_data/description_log.h"
#include "uninstall_data/ini_loader.h"
#include "uninstall_data/ini_values.h"
#include "uninstall_data/registry_loader.h"
#include "uninstall_data/uninstall_data.h"

// The process's one description record, cleared and refilled by each load;
// too large for the stack.
UninstallData g_uninstall_data;

namespace {

const UINT kAdminWarningId = 4;
const UINT kAdminCaptionId = 13;

// 4 after the warning box (none in Silent); 6 when a text is missing.
int RefuseWithoutRights() {
    LogLine("refused: removing needs administrator rights on this family of Windows");
    if (RunMode == Silent) return 4;
    return ShowLocalizedBox(kAdminWarningId, kAdminCaptionId, MB_OK | MB_ICONWARNING) == -1 ? 6 : 4;
}

bool NeedsRights() {
    DWORD family = GetWindowsFamily();
    return family == FamilyWin2000 || family == FamilyNT4;
}

// A setup writes one section per adapter it installed: a handful. A larger
// count is a damaged file, and every section it names would be run (a
// missing one as a record of defaults), keeping the machine busy for hours:
// such a count, like a negative one, runs no section.
const uint32_t kMaxIniSections = 256;

// The program's own path with its last three characters replaced by "INI";
// false when the path cannot be had whole.
bool FormIniPath(char* path, DWORD size) {
    DWORD length = GetModuleFileNameA(nullptr, path, size);
    if (length < 3 || length >= size) return false;
    memcpy(path + length - 3, "INI", 3);
    return true;
}

uint32_t IniSectionCount(const char* ini_path) {
    char text[256];
    GetPrivateProfileStringA("Main", "SectionsNumber", "0", text, sizeof text, ini_path);
    uint32_t count = IniNumber(text);
    return count > kMaxIniSections ? 0 : count;
}

void LogIniDescription(const char* ini_path, const char* section) {
    char source[600];
    wsprintfA(source, "INI section [%s] of %s", section, ini_path);
    LogDescription(source, g_uninstall_data, 0);
}

// The registry description as loaded: 0, or the loader's failure.
int LoadRegistryDescription() {
    int result = LoadFromRegistry(g_uninstall_data);
    char source[TAVK_DESCRIPTION_KEY_LEN + 32];
    wsprintfA(source, "registry key HKLM\\%s", g_uninstall_data.description_key);
    LogDescription(source, g_uninstall_data, result);
    return result;
}

// Each section, highest number first, removed locally without a dialog.
int RunIniSections(int result) {
    char ini_path[520];
    if (!FormIniPath(ini_path, sizeof ini_path)) return result;
    for (uint32_t i = IniSectionCount(ini_path); i-- > 0;) {
        char section[32];
        wsprintfA(section, "UnistallData%d", (int)i);
        LoadFromIniSection(g_uninstall_data, ini_path, section);
        g_uninstall_data.force_local_uninstall = 1;
        LogIniDescription(ini_path, section);
        result = RunRemovalSequence(nullptr, g_uninstall_data);
    }
    return result;
}

// The registry run, then (but with the dialog) the INI sections.
int RunDescriptions(HWND dialog) {
    int result = LoadRegistryDescription();
    if (result == 0) result = RunRemovalSequence(dialog, g_uninstall_data);
    // The confirmation and the dialog belong to the registry run only.
    if (dialog) return result;
    return RunIniSections(result);
}

// Asked once, when nothing is left to do: ExitWindowsEx only begins the
// restart, and whatever still ran would be cut off. WININIT.INI's lines
// are put on disk before the question, and again after the copy's files
// are added to them.
void OfferRestartAtTheEnd() {
    FlushWininit();
    if (!AskWindowsRestart()) return;
    ScheduleHandedFilesAtRestart();
    FlushWininit();
    RestartWindows();
}

}  // namespace

void FinishRemoval(int result) {
    RemoveEmptiedFolders(GetWindowsFamily());
    // The copy writes the run's summary, with the code known by now.
    NoteExitCodeSoFar(DeploymentExitCode(result));
    HandOverToCleanupCopy(GetCommandLineA());
    if (RestartNeeded) OfferRestartAtTheEnd();
    ForgetOwnFiles();
}

int RunUninstall(HWND dialog) {
    if (NeedsRights() && !IsAdministrator()) return RefuseWithoutRights();
    int result = RunDescriptions(dialog);
    FinishRemoval(result);
    return result;
}

// Whatever the registry load left in the record is run: the service
// programs must get their removal switch even without a description.
int RunServicesMode() {
    LoadRegistryDescription();
    LogStepBegin("RunServiceUninstallers");
    int result = RunServiceUninstallers(g_uninstall_data);
    LogStepEnd("RunServiceUninstallers", result);
    return result;
}
