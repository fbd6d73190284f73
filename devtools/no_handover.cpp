// The tools for Windows 9x and NT 4 run as they are: nothing to hand over.
#include "devtools/tool_backend.h"

HandOver HandRequestOver(ToolOutcome*) { return kRunHere; }
