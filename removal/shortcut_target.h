// What a shell shortcut (.lnk) starts, read from the file itself: its
// target's local path, as the shell stored it when the shortcut was made.
#pragma once

#include "platform/platform.h"

// The target's full local path into `target` (PATH_BUFFER_SIZE bytes).
// False when the file cannot be read, is no shell link, or holds no local
// path (a link to a share or to a shell object): then nothing is known.
bool ReadShortcutTarget(const char* shortcut, char* target);
