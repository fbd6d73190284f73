// The hand-over of the tool for Windows 2000 and later to its x86-64
// build, as devtools/tool_backend.h declares it.
#pragma once

#include "devtools/tool_backend.h"
