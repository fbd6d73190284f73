// The removal steps, in the order the removal sequence runs them. Each takes
// the description record, only reads it, reports its own failures and
// returns its status (0 success, 1 nothing to do, 2 failure, 4 a program
// that cannot be started or waited for).
#pragma once

#include "removal/uninstall_entry.h"
#include "removal/support_applets.h"
#include "removal/device_removal.h"
#include "removal/service_uninstallers.h"
#include "removal/installed_files.h"
#include "removal/registry_keys_removal.h"
#include "removal/software_keys.h"
#include "removal/start_menu_shortcut.h"
