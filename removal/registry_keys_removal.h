// The removal step of the description's list of registry keys.
#pragma once

#include "uninstall_data/uninstall_data.h"

int RemoveRegistryKeys(const UninstallData& data);
