// Writing a loaded description into the run log: where it came from, the
// loader's result and every item it names.
#pragma once

#include "uninstall_data/uninstall_data.h"

// `source` names where the description was read ("registry key ...").
void LogDescription(const char* source, const UninstallData& data, int result);
