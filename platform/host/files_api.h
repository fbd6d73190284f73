// Deleting files and removing directories (kernel32).
#pragma once

#include "win32_types.h"

#define ERROR_DIRECTORY 267L

BOOL DeleteFileA(LPCSTR file_name);
BOOL RemoveDirectoryA(LPCSTR path_name);
// Copies the file's contents; with `fail_if_exists`, an existing target
// is ERROR_FILE_EXISTS.
BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL fail_if_exists);
