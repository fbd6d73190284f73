// Deleting files and removing directories (kernel32).
#pragma once

#include "win32_types.h"

#define ERROR_DIRECTORY 267L

BOOL DeleteFileA(LPCSTR file_name);
BOOL RemoveDirectoryA(LPCSTR path_name);
