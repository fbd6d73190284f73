// Deleting a file at the next start of Windows, when it cannot go now.
#pragma once

#include "platform/platform.h"

// Schedules the deletion the way this family of Windows carries it out:
// the NT family's own list (MoveFileExA) or, on Windows 95, 98 and Me, a
// line in WININIT.INI. The outcome is not reported.
void ScheduleDeleteAtRestart(const char* path, DWORD family);

// Adds a "NUL=" line for the path (in its short form) to WININIT.INI's
// "rename" section, keeping every line already there.
void ScheduleWininitDelete(const char* path);
