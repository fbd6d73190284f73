// The hand-over of the tools for Windows 9x and NT 4, as
// devtools/tool_backend.h declares it: none.
#pragma once

#include "devtools/tool_backend.h"
