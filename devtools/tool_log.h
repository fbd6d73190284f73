// The device tools' lines in uninst.exe's run log: when the request names
// the log, each tool appends what it removed, kept or could not remove, so
// that a support person reads the whole removal in one file.
#pragma once

#include "platform/platform.h"

// Lines go to `path` (not created when missing), each after `tag`; an
// empty path keeps no log.
void UseToolLog(const char* path, const char* tag);

// One line: the local time, the tag, then the text as wsprintfA formats
// it (cut to its limit). The file is opened and closed for each line.
void ToolLog(const char* format, ...);
