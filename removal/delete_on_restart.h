// Deleting a file at the next start of Windows, when it cannot go now.
#pragma once

#include "platform/platform.h"

// True when Windows refused to delete a file now with an error it lifts
// by the next start: access denied (a running program) and, on the NT
// family, a sharing or lock violation (a file another program holds open,
// a service's data file). Such a file is scheduled for the restart.
bool WaitsForTheRestart(DWORD error);

// Schedules the deletion the way this family of Windows carries it out:
// the NT family's own list (MoveFileExA) or, on Windows 95, 98 and Me, a
// line in WININIT.INI. 0 when it is scheduled, else the Windows error that
// refused it.
DWORD ScheduleDeleteAtRestart(const char* path, DWORD family);

// Adds a "NUL=" line for the path (in its short form) to WININIT.INI's
// "rename" section, keeping every line already there; 0, or why not.
DWORD ScheduleWininitDelete(const char* path);

// Windows 9x keeps profile writes in a cache: once this process has
// written WININIT.INI, its lines are put on disk, so that a restart (a
// forced one included) finds them. Nothing is done otherwise.
void FlushWininit();
