// The description's list subkeys whose entries are values: the friendly
// names, the installed files and the installed services.
#pragma once

#include "uninstall_data/registry_read.h"

LoadStatus ReadFriendlyNames(HKEY description, UninstallData& data);
LoadStatus ReadInstalledFiles(HKEY description, UninstallData& data);
LoadStatus ReadInstalledServices(HKEY description, UninstallData& data);
