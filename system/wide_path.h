// A path in the ANSI code page handed in UTF-16 to a call that takes only
// that. Its own source, so that the device tools, which show no message,
// import only this conversion. The unit tests put a stand-in behind it.
#pragma once

#include "platform/platform.h"

// The path in UTF-16 in `wide`, `size` code units with the terminator;
// false when it does not fit or cannot be converted.
bool WidePath(const char* path, WCHAR* wide, int size);
