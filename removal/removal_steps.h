// The removal steps, in the order the removal sequence runs them. Each takes
// the description record, only reads it, reports its own failures and
// returns its status (0 success, 1 nothing to do, 2 failure, 4 a program
// that cannot be started or waited for).
#pragma once

#include "uninstall_data/uninstall_data.h"

// Hands the removal to the product's registered uninstall command; 0 when
// it was started and has ended. Also given the progress dialog, or null.
int RunRegisteredUninstaller(HWND dialog, const UninstallData& data);

int StopSupportApplets(const UninstallData& data);
int RemoveDevices(const UninstallData& data);
int RunServiceUninstallers(const UninstallData& data);
int RemoveInstalledFiles(const UninstallData& data);
int RemoveUninstallEntry(const UninstallData& data);
int RemoveRegistryKeys(const UninstallData& data);
int RemoveSoftwareKey(const UninstallData& data);
int RemoveDescriptionKey(const UninstallData& data);
int RemoveStartMenuShortcut(const UninstallData& data);
