// Registry helpers of the tools: deleting a key with everything below it,
// on both families (NT's RegDeleteKeyA refuses a key that still has
// subkeys), listing subkeys before anything is deleted, and small reads.
#pragma once

#include "platform/platform.h"

#define KEY_NAME_SIZE 256  // a key name has at most 255 characters

typedef char KeyName[KEY_NAME_SIZE];

// ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when the key is not there, or the
// error that stopped the deletion.
LONG DeleteKeyTree(HKEY parent, const char* name);

// Deletes `name` below `parent` when it has no subkeys left: the key of a
// group whose last member went.
void DeleteKeyIfNoSubkeys(HKEY parent, const char* name);

// The names of the key's subkeys, at most `capacity`, gathered before the
// caller deletes any: the enumeration order after a deletion is not
// documented. Returns how many were noted.
int CollectSubkeyNames(HKEY key, KeyName* names, int capacity);

// Reads a text value into `buffer` of `size` bytes, always terminated;
// an absent or non-text value gives an empty text.
void ReadText(HKEY key, const char* name, char* buffer, DWORD size);

// Deletes System\CurrentControlSet\Services\NAME with its subtree. A name
// that is empty, holds a backslash or is made of dots names no service.
LONG DeleteServiceKey(const char* name);
