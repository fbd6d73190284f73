// The tool for Windows 2000 and later: its tag and its removal, as
// devtools/tool_backend.h declares them.
#pragma once

#include "devtools/tool_backend.h"
