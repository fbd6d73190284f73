// Whether a file is in use: Windows keeps a running program, or a file
// another holds open, from being written as it keeps it from being deleted.
#pragma once

#include "platform/platform.h"

// True when opening the existing file for writing with `share` is refused
// for access or sharing; false when it opens (it is closed at once), is
// missing, or fails for any other reason.
bool WriteOpenRefused(const char* path, DWORD share);
