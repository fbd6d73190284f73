// The six list subkeys of the registry description. Each reader opens its
// subkey (a missing one is an empty list), fills the record and closes every
// key it opened on every path. Each returns 0 or the loader's result.
#pragma once

#include "uninstall_data/registry_read.h"

LoadStatus ReadFriendlyNames(HKEY description, UninstallData& data);
LoadStatus ReadApplets(HKEY description, UninstallData& data);
LoadStatus ReadInstalledFiles(HKEY description, UninstallData& data);
LoadStatus ReadDeviceClasses(HKEY description, UninstallData& data);
LoadStatus ReadInstalledServices(HKEY description, UninstallData& data);
LoadStatus ReadRegistryKeys(HKEY description, UninstallData& data);

// True when the key holds at least one of a description's values or list
// subkeys (names compared without regard to case).
bool HoldsDescription(HKEY key);
