// Loading a library of Windows' own by its full path in the system folder.
#pragma once

#include "platform/platform.h"

// `name` ("shell32.dll") from the system folder, never from beside the
// program or the current folder, where anyone may have put a library of
// that name; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);
