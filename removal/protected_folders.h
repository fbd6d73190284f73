// The folders that no uninstall description can change: drive roots and
// the folders Windows itself needs. The removal's gateway
// (system_changes.h) asks here before every file and folder change.
#pragma once

#include "platform/platform.h"

// True when `path` is a drive's or share's root, the Windows, system or
// Program Files folder, or a folder that holds one of them.
bool IsProtectedFolder(const char* path);

// True when the files a search pattern matches must not be deleted: a
// wildcard in a folder that is not given in full, or a wildcard with no
// literal character before its extension in the Windows or system folder
// (or below them), a drive's root or the Program Files folder itself.
bool IsProtectedPattern(const char* pattern);
