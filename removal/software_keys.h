// The removal steps of the vendor's keys: the software key and the key
// the description was read from.
#pragma once

#include "uninstall_data/uninstall_data.h"

int RemoveSoftwareKey(const UninstallData& data);
int RemoveDescriptionKey(const UninstallData& data);
