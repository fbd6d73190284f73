// The removal step of the product's Start-menu shortcut.
#pragma once

#include "uninstall_data/uninstall_data.h"

int RemoveStartMenuShortcut(const UninstallData& data);
