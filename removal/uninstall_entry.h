// The removal step of the product's entry in the Windows uninstall
// registration, and the hand-over to its registered command.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Hands the removal to the product's registered uninstall command; 0 when
// it was started and has ended. Also given the progress dialog, or null.
int RunRegisteredUninstaller(HWND dialog, const UninstallData& data);

int RemoveUninstallEntry(const UninstallData& data);
