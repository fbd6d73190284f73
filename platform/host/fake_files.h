// The fake file system's interface to the other fake groups (profiles,
// streams, processes); tests use fake_world.h instead.
#pragma once

#include <string>

#include "win32_types.h"

namespace fake_fs {

// The canonical form of an absolute path ("C:\A\b", "." and ".." resolved,
// repeated backslashes collapsed); false for a relative or empty path.
bool Canonical(const std::string& path, std::string* canonical);
// True when the path names an existing file (not a folder).
bool IsFile(const std::string& path);
bool ReadFile(const std::string& path, std::string* data);
// Creates or replaces a file's contents; 0 or the Win32 error.
DWORD WriteFile(const std::string& path, const std::string& data);
// Appends to an existing file.
void AppendFile(const std::string& path, const std::string& data);

}  // namespace fake_fs
