// Stopping the product's support applets: on Windows Me their windows are
// closed, and everywhere their start-up values under the machine-wide Run
// key are removed so that they no longer start with Windows.
#include "removal/removal_steps.h"

#include "removal/system_changes.h"
#include "system/windows_family.h"
#include "uninstall_data/registry_read.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// A window that ignores WM_CLOSE must not hold the removal forever.
const int kMaxCloseMessages = 101;

// Windows Me is the one family on which the applets' windows are closed.
bool AppletWindowsNeedClosing() { return GetWindowsFamily() == FamilyWinMe; }

void CloseAppletWindows(const char* window_class) {
    CloseWindowsOfClass(window_class, kMaxCloseMessages);
}

// False when the applet's start-up value exists and cannot be deleted.
bool RemoveStartupValue(HKEY run, const char* value) {
    if (!value[0] || !ValuePresent(run, value)) return true;
    return ChangeMadeOrPreviewed(DeleteRegistryValue(HKEY_LOCAL_MACHINE, run, kRunKey, value).outcome);
}

bool StopApplet(HKEY run, const AppletEntry& applet) {
    if (!applet.window_class[0] || !applet.display_name[0]) return true;
    if (AppletWindowsNeedClosing()) CloseAppletWindows(applet.window_class);
    return RemoveStartupValue(run, applet.autorun_value);
}

}  // namespace

int StopSupportApplets(const UninstallData& data) {
    HKEY run;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunKey, &run) != ERROR_SUCCESS) return 2;
    bool stopped = true;
    int count = CountWithin(data.applet_count, TAVK_MAX_NUM_APPLETS);
    for (int i = 0; stopped && i < count; ++i) stopped = StopApplet(run, data.applets[i]);
    bool closed = RegCloseKey(run) == ERROR_SUCCESS;
    return stopped && closed ? 0 : 2;
}
