// The registry keys that no uninstall description can change: hive roots
// and the keys Windows itself needs. The removal's gateway
// (system_changes.h) asks here before every key deletion.
#pragma once

#include "platform/platform.h"

// True when deleting the key `name` below `parent_path` (both relative to a
// hive root; either may be empty) would delete a hive root, a key of its
// first level or a key Windows owns.
bool IsProtectedKey(const char* parent_path, const char* name);
