// The program that owns a top-level window: its process's image as the
// tool help's process list names it. The unit tests put a stand-in behind
// this header.
#pragma once

#include "platform/platform.h"

// The image into `path` (PATH_BUFFER_SIZE bytes): Windows 9x gives its
// full path, NT and Wine the bare file name. False when the process is not
// found or the list cannot be had (NT 4 has no tool help).
bool WindowProgramPath(HWND window, char* path);
