// Deleting a registry key with everything below it, on both families
// (NT's RegDeleteKeyA refuses a key that still has subkeys).
#pragma once

#include "platform/platform.h"

// ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when the key is not there, or the
// error that stopped the deletion.
LONG DeleteKeyTree(HKEY parent, const char* name);

// True when the key has no subkeys (values are not looked at).
bool HasNoSubkeys(HKEY key);

// Reads a text value into `buffer` of `size` bytes, always terminated;
// an absent or non-text value gives an empty text.
void ReadText(HKEY key, const char* name, char* buffer, DWORD size);
