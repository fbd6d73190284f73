// The process-wide run mode and flags.
#include "app/run_mode.h"

int32_t RunMode = Silent;
bool InstallMode = false;
bool RestartNeeded = false;
