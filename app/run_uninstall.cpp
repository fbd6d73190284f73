// The driver: loads each uninstall description and runs the removal on it.
#include "app/driver.h"
#include "app/run_mode.h"
#include "uninstall_data/uninstall_data.h"

int RunUninstall(HWND) {
    // The removal sequence, the rights check and the INI sections are not
    // built yet: the run reports how the registry description loaded.
    return LoadFromRegistry(g_uninstall_data);
}

int RunServicesMode() {
    LoadFromRegistry(g_uninstall_data);
    // Running the service programs is not built yet: report the step failed.
    return 2;
}
