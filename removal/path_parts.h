// The parts of a path the removal takes apart: its last separator, its file
// name and its folder. Double-byte characters are whole units.
#pragma once

#include "platform/platform.h"

// The last '\' or '/', whichever comes later (the file search takes both
// for a folder separator); null when there is neither.
const char* LastSeparator(const char* path);

// The name after the last backslash, or the whole path without one.
const char* FileNamePart(const char* path);

// True when `path` names a file that is there (not a folder).
bool NamesExistingFile(const char* path);

// `path` cut before its last backslash into `folder` (PATH_BUFFER_SIZE
// bytes); false without a backslash or when the folder would not fit.
bool FolderPart(const char* path, char* folder);

// `folder`, a backslash and `name` into `out` (PATH_BUFFER_SIZE bytes);
// false when either part is empty or the whole would not fit.
bool JoinedPath(char* out, const char* folder, const char* name);
