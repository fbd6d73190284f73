// The process-wide run mode and flags: set once by the entry point, read by
// the loaders, the removal steps and the error report.
#pragma once

#include "platform/platform.h"

enum RunModeValue { Silent = 0, Quiet = 1, Verbose = 2 };

extern int32_t RunMode;     // a RunModeValue
extern bool InstallMode;    // the "install" word: devices always, no restart
extern bool RestartNeeded;  // a deletion waits for the next start of Windows
extern bool PreviewRun;     // "/preview": record what would change, change nothing
extern bool WininitWritten; // Windows 9x caches it: flushed before a restart
extern bool NoRestartRun;   // "/norestart": never ask, never restart; 3010 tells

// PreviewRun is decided by the run record (app/run_record.cpp). What a
// preview does instead of a change is decided by the gateway
// (removal/system_changes.cpp) and the program starter
// (removal/started_programs.cpp) alone; the run log marks its lines, and
// the removal sequence keeps its boxes and dialog hidden.
