// Paths in the full form the system itself gives, so that a folder is
// recognised however a description spells it.
#pragma once

#include "platform/platform.h"

// True when `path` names its drive and folder from the root ("C:\..." or
// "C:/...") or starts with two separators (a share, "\\?\", "\\.\"):
// anything else would be resolved against the current folder.
bool IsGivenInFull(const char* path);

// Writes what GetFullPathNameA makes of `path` into `out` (`size` bytes),
// without a trailing backslash (a drive's root is "C:"). False when the
// path is not given in full or its full form does not fit.
bool FullPathForm(const char* path, char* out, size_t size);

// True when the full form `path` is `folder` or lies below it, without
// regard to letter case; a double-byte character is one unit.
bool IsSameOrBelow(const char* path, const char* folder);

// True when the full form names a drive's or a share's root.
bool IsRootForm(const char* form);

// Cuts a full form at its last backslash, leaving the folder that holds it
// ("C:" for "C:\name"); false when there is none.
bool CutToParent(char* form);
