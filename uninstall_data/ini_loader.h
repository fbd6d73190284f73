// Loading one uninstall description section of the INI file beside the
// program.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Reads one description section of the INI file at `ini_path` into the
// record; every missing key takes its default. Nothing is reported and the
// result is always 0.
int LoadFromIniSection(UninstallData& data, const char* ini_path, const char* section);
