// Programs that are Windows' own: what the guardrails' file rules say, and
// besides them the command interpreters and script hosts, which do whatever
// they are given, and the files Wine puts in the place of Windows' own.
// Shared by the service judgment and the service programs' step.
#pragma once

#include "platform/platform.h"

// A short reason when the program at `path` (a full path) is Windows' own,
// null otherwise.
const char* WindowsProgramRefusal(const char* path);
