// The tool for Windows 95, 98 and Me: its tag and its removal, as
// devtools/tool_backend.h declares them.
#pragma once

#include "devtools/tool_backend.h"
