// The tools for Windows 9x and NT 4 run as they are: nothing to hand over.
#include "devtools/no_handover.h"

HandOver HandRequestOver(ToolOutcome*) { return kRunHere; }
