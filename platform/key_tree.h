// Deleting a registry key with everything below it, bottom-up: first every
// subkey (each the same way), then, when the caller asks, every value, then
// the emptied key. NT's
// RegDeleteKeyA refuses a key that still has subkeys, so every family goes
// this way. Shared by uninst.exe and the device tools.
#pragma once

#include "platform/platform.h"

// The calls a deletion makes, named so that a caller can report the one
// that stopped it.
enum KeyTreeCall {
    KeyTreeOpen,         // RegOpenKeyA, or RegOpenKeyExA with the caller's access
    KeyTreeListKeys,     // RegEnumKeyA
    KeyTreeSubkey,       // a subkey's own deletion failed
    KeyTreeListValues,   // RegEnumValueA
    KeyTreeDeleteValue,  // RegDeleteValueA
    KeyTreeClose,        // RegCloseKey
    KeyTreeDeleteKey,    // RegDeleteKeyA
};

// The largest name room a deletion can be given: a key name has at most
// 255 characters.
#define KEY_TREE_NAME_ROOM 256

struct KeyTreeDeletion {
    DWORD name_room;  // bytes for a subkey name (and a value's), terminator
                      // included; at most KEY_TREE_NAME_ROOM
    // 0: each key is opened with RegOpenKeyA; otherwise with RegOpenKeyExA
    // and this access.
    REGSAM access;
    // Whether each key's values are deleted before it (and counted when they
    // cannot be), or left for RegDeleteKeyA to take along.
    bool delete_values;
    // Told of the call that stopped the deletion, then of KeyTreeSubkey once
    // for every key above it; may be null.
    void (*failed)(KeyTreeCall call);
};

// What stopped a deletion: `status` is ERROR_SUCCESS when the key is gone;
// otherwise the failed call's status, and `call` the one that failed at
// the top (KeyTreeOpen there: the key itself could not be opened).
struct KeyTreeOutcome {
    LONG status;
    KeyTreeCall call;
};

// Deletes `name` below `parent` with everything below it. An empty name is
// refused with ERROR_INVALID_PARAMETER (reported to no one): it would name
// the parent itself.
KeyTreeOutcome DeleteKeyTreeBy(const KeyTreeDeletion& how, HKEY parent, const char* name);
