// The path macros "%WIN_DIR%" and "%WIN_SYS_DIR%" that file and service
// entries may hold.
#pragma once

#include "platform/platform.h"
#include "system/windows_directory.h"

// Characters one expansion stage may write, and a buffer that holds them.
#define PATH_MACRO_ROOM 512
#define PATH_BUFFER_SIZE (PATH_MACRO_ROOM + 1)

// Copies `source` to `out` with every `macro` replaced by `value`; 1 when
// the result, at most `room` bytes, fits (the terminator comes on top),
// else 0. Inserted text is not scanned again.
int ReplaceMacro(const char* source, const char* macro, const char* value, char* out,
                 size_t room);

// The Windows and system directories, PATH_BUFFER_SIZE bytes each; false
// when either is missing.
bool GetMacroDirs(char* windows_dir, char* system_dir);

// "%WIN_DIR%" first, then "%WIN_SYS_DIR%", each stage within
// PATH_MACRO_ROOM; false when a stage does not fit.
bool ExpandPathMacros(const char* entry, const char* windows_dir, const char* system_dir,
                      char* out);
