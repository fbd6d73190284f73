// The Windows directory shared by all users of the machine.
#pragma once

#include "platform/platform.h"

// Writes the directory into `buffer` of `size` bytes and returns its
// length; 0 when it cannot be found or does not fit.
UINT GetSystemWindowsDir(char* buffer, UINT size);
