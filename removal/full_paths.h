// Paths brought to one comparable form, so that a folder is recognised
// however a description spells it.
#pragma once

#include "platform/platform.h"

// Writes the full form of `path` into `out` (`size` bytes): the root ("C:"
// or "\\server\share") and each folder and name after one backslash, with
// '/' taken for '\', doubled and trailing separators dropped, "." and ".."
// resolved (never above the root), trailing dots and blanks of a name
// dropped, and "\\?\" or "\\.\" in front ignored. False when the path is not
// given in full (relative, "C:name" or "\name") or does not fit.
bool FullPathForm(const char* path, char* out, size_t size);

// True when the full form `path` is `folder` or lies below it, without
// regard to letter case; a double-byte character is one unit.
bool IsSameOrBelow(const char* path, const char* folder);

// True when the full form names a drive's or a share's root.
bool IsRootForm(const char* form);
