// The registry keys that no uninstall description can change: hive roots,
// and inside the trees Windows owns everything but the few places a
// product owns there. The removal's gateway (system_changes.h) asks here
// before every key deletion.
#pragma once

#include "platform/platform.h"

// Why deleting the key `name` below `parent_path` (both relative to a hive
// root; either may be empty) would delete a hive root, a key of its first
// level or a key Windows owns; null when it may go. The reason is a short
// fixed text for the run log.
const char* KeyRefusal(const char* parent_path, const char* name);

// True when KeyRefusal gives a reason.
bool IsProtectedKey(const char* parent_path, const char* name);
