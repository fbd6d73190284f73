// Loading the uninstall description from its registry key.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Reads the description from the registry key (the default one, or the one
// named by "/rootkey=" on the command line). 0: read whole; 1: key missing or
// a failure reported; 2: the device class list ended between two reads.
int LoadFromRegistry(UninstallData& data);

// "WDM98", "WDM2k", "NT4" and "VxD" (exactly) give their model; anything
// else DriverModelNone.
int32_t DriverModelOf(const char* text);
