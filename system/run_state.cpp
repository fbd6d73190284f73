// The process-wide run mode and flags.
#include "system/run_state.h"

int32_t RunMode = Silent;
bool InstallMode = false;
bool RestartNeeded = false;
bool PreviewRun = false;
bool NoRestartRun = false;
bool WininitWritten = false;
