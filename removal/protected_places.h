// The places on the machine that no uninstall description can change: the
// registry keys and the folders Windows itself needs. The removal's
// gateway (system_changes.h) asks here before every change.
#pragma once

#include "platform/platform.h"

// True when deleting the key `name` below `parent_path` (both relative to a
// hive root; either may be empty) would delete a hive root, a key of its
// first level or a key Windows owns.
bool IsProtectedKey(const char* parent_path, const char* name);

// True when `path` is a drive's or share's root, the Windows, system or
// Program Files folder, or a folder that holds one of them.
bool IsProtectedFolder(const char* path);

// True when the files a search pattern matches must not be deleted: a
// wildcard in a folder that is not given in full, or a wildcard with no
// literal character before its extension in the Windows or system folder
// (or below them), a drive's root or the Program Files folder itself.
bool IsProtectedPattern(const char* pattern);
