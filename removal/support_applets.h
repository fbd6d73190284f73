// The removal step that stops the product's support applets.
#pragma once

#include "uninstall_data/uninstall_data.h"

int StopSupportApplets(const UninstallData& data);
