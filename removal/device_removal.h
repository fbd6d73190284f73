// The removal step of the adapter's devices and driver service.
#pragma once

#include "uninstall_data/uninstall_data.h"

int RemoveDevices(const UninstallData& data);
