// The driver: loads each uninstall description and runs the removal on it.
#include "app/driver.h"
#include "app/run_mode.h"
#include "removal/removal_steps.h"
#include "uninstall_data/uninstall_data.h"

int RunUninstall(HWND) {
    // The removal sequence, the rights check and the INI sections are not
    // built yet: the run reports how the registry description loaded.
    return LoadFromRegistry(g_uninstall_data);
}

// Whatever the registry load left in the record is run: the service
// programs must get their removal switch even without a description.
int RunServicesMode() {
    LoadFromRegistry(g_uninstall_data);
    return RunServiceUninstallers(g_uninstall_data);
}
