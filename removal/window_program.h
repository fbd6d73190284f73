// The program that owns a top-level window, as Windows 9x names it: the
// full path of its process's image, from the tool help's process list.
#pragma once

#include "platform/platform.h"

// The image's full path into `path` (PATH_BUFFER_SIZE bytes). False when
// the process is not found, the list cannot be had (NT 4 has no tool
// help), or it gives a bare file name (NT and Wine): nothing to judge.
bool WindowProgramPath(HWND window, char* path);
