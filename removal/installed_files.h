// The removal step of the description's installed files.
#pragma once

#include "uninstall_data/uninstall_data.h"

int RemoveInstalledFiles(const UninstallData& data);
