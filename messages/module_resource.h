// A resource carried in the module, found in one language as Windows finds
// it: that language, else its primary language's neutral form. The string
// tables are read through it. The unit tests put a stand-in behind this
// header that serves the very resources that ship.
#pragma once

#include "platform/platform.h"

// The resource of that type (RT_STRING) and integer name: its bytes, which
// stay valid while the module is loaded, and their number in `size`; null
// when there is none.
const BYTE* FindModuleResource(HMODULE module, LPCSTR type, WORD name, LANGID language, DWORD* size);
