// The description's list subkeys whose entries are keys: the applets, the
// device classes and the registry keys to remove.
#pragma once

#include "uninstall_data/registry_read.h"

LoadStatus ReadApplets(HKEY description, UninstallData& data);
LoadStatus ReadDeviceClasses(HKEY description, UninstallData& data);
LoadStatus ReadRegistryKeys(HKEY description, UninstallData& data);
