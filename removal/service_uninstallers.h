// The removal step that runs the product's service programs' removal.
#pragma once

#include "uninstall_data/uninstall_data.h"

int RunServiceUninstallers(const UninstallData& data);
