// The registry deletion shared by the removal steps: a key with everything
// below it, and the test for a key that holds nothing.
#pragma once

#include "platform/platform.h"

// Subkey and value names read while deleting: 128 characters at most.
#define TAVK_REG_NAME_LEN 128

// Deletes `name` below `parent` with all its subkeys and values, bottom-up.
// 0 when it is gone; 2 otherwise, after reporting the failure (a key that
// cannot be opened is not reported). An empty name is refused with 2: it
// would name the parent itself.
int TAVKDeleteKey(HKEY parent, const char* name);

// As TAVKDeleteKey; `open_status` receives what opening the key answered,
// so that a key that is not there can be told from a failure.
int DeleteKeyTree(HKEY parent, const char* name, LONG* open_status);

// 1 when `name` below `parent` opens and has no subkeys and no values (a
// default value counts); 0 otherwise, a missing key included.
int IsKeyEmpty(HKEY parent, const char* name);
