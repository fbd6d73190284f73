// The folders that the removal's file deletions leave empty: noted as each
// file goes, and removed after the process's last run with every parent
// they leave empty in turn.
#pragma once

#include "platform/platform.h"

// Notes the folder of a file that was deleted now, or whose deletion waits
// for the next start of Windows (`at_restart`).
void NoteFileRemoved(const char* path, bool at_restart);

// Removes each noted folder that is empty, deepest first, then its parents
// while they are empty; never a protected folder nor one inside the
// Windows folder. On the NT family a folder that holds nothing but files
// waiting for the restart is left for the restart too, after them. Forgets
// what was noted.
void RemoveEmptiedFolders(DWORD family);
