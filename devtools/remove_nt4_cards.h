// The tool for NT 4: its tag and its removal, as devtools/tool_backend.h
// declares them.
#pragma once

#include "devtools/tool_backend.h"
