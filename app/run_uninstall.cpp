// The driver: refuses a user without rights on the NT family, then loads
// each uninstall description and runs the removal on it.
#include "app/driver.h"
#include "app/removal_sequence.h"
#include "system/run_state.h"
#include "removal/removal_steps.h"
#include "messages/localized_string.h"
#include "system/administrator.h"
#include "system/windows_family.h"
#include "uninstall_data/uninstall_data.h"

namespace {

const UINT kAdminWarningId = 4;
const UINT kAdminCaptionId = 13;

// 4 after the warning box (none in Silent); 6 when a text is missing.
int RefuseWithoutRights() {
    if (RunMode == Silent) return 4;
    char* text = LocalizedString(nullptr, kAdminWarningId);
    char* caption = LocalizedString(nullptr, kAdminCaptionId);
    int result = text && caption ? 4 : 6;
    if (result == 4) MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONWARNING);
    free(caption);
    free(text);
    return result;
}

bool NeedsRights() {
    DWORD family = GetWindowsFamily();
    return family == FamilyWin2000 || family == FamilyNT4;
}

}  // namespace

int RunUninstall(HWND dialog) {
    if (NeedsRights() && !IsAdministrator()) return RefuseWithoutRights();
    int result = LoadFromRegistry(g_uninstall_data);
    if (result == 0) result = RunRemovalSequence(dialog, g_uninstall_data);
    // The INI description sections have no loader yet: only the registry
    // description is removed.
    return result;
}

// Whatever the registry load left in the record is run: the service
// programs must get their removal switch even without a description.
int RunServicesMode() {
    LoadFromRegistry(g_uninstall_data);
    return RunServiceUninstallers(g_uninstall_data);
}
