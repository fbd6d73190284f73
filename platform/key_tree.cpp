// Recursive deletion of a registry key. A failure deep down leaves every key
// on the way up with its values, and each level above it tells its caller.
#include "platform/key_tree.h"

namespace {

KeyTreeOutcome Stopped(const KeyTreeDeletion& how, KeyTreeCall call, LONG status) {
    if (how.failed) how.failed(call);
    return KeyTreeOutcome{status, call};
}

KeyTreeOutcome Done() { return KeyTreeOutcome{ERROR_SUCCESS, KeyTreeOpen}; }

DWORD NameRoom(const KeyTreeDeletion& how) {
    return how.name_room < KEY_TREE_NAME_ROOM ? how.name_room : KEY_TREE_NAME_ROOM;
}

LONG OpenKey(const KeyTreeDeletion& how, HKEY parent, const char* name, HKEY* key) {
    if (!how.access) return RegOpenKeyA(parent, name, key);
    return RegOpenKeyExA(parent, name, 0, how.access, key);
}

// Deletes every subkey, always asking for index 0: each deletion removes the
// one standing there. The depth is bounded by the registry itself.
KeyTreeOutcome DeleteSubkeys(const KeyTreeDeletion& how, HKEY key) {
    char name[KEY_TREE_NAME_ROOM];
    for (;;) {
        LONG status = RegEnumKeyA(key, 0, name, NameRoom(how));
        if (status == ERROR_NO_MORE_ITEMS) return Done();
        if (status != ERROR_SUCCESS) return Stopped(how, KeyTreeListKeys, status);
        KeyTreeOutcome inner = DeleteKeyTreeBy(how, key, name);
        if (inner.status != ERROR_SUCCESS) return Stopped(how, KeyTreeSubkey, inner.status);
    }
}

KeyTreeOutcome DeleteValues(const KeyTreeDeletion& how, HKEY key) {
    char name[KEY_TREE_NAME_ROOM];
    for (;;) {
        DWORD size = NameRoom(how);
        LONG status = RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return Done();
        if (status != ERROR_SUCCESS) return Stopped(how, KeyTreeListValues, status);
        status = RegDeleteValueA(key, name);
        if (status != ERROR_SUCCESS) return Stopped(how, KeyTreeDeleteValue, status);
    }
}

// Empties an open key and closes it, on every path; a failed close counts
// only when nothing failed before it.
KeyTreeOutcome EmptyAndClose(const KeyTreeDeletion& how, HKEY key) {
    KeyTreeOutcome outcome = DeleteSubkeys(how, key);
    if (outcome.status == ERROR_SUCCESS && how.delete_values) outcome = DeleteValues(how, key);
    LONG closed = RegCloseKey(key);
    if (outcome.status != ERROR_SUCCESS || closed == ERROR_SUCCESS) return outcome;
    return Stopped(how, KeyTreeClose, closed);
}

}  // namespace

KeyTreeOutcome DeleteKeyTreeBy(const KeyTreeDeletion& how, HKEY parent, const char* name) {
    if (!name || !*name) return KeyTreeOutcome{ERROR_INVALID_PARAMETER, KeyTreeOpen};
    HKEY key;
    LONG status = OpenKey(how, parent, name, &key);
    if (status != ERROR_SUCCESS) return Stopped(how, KeyTreeOpen, status);
    KeyTreeOutcome outcome = EmptyAndClose(how, key);
    if (outcome.status != ERROR_SUCCESS) return outcome;
    status = RegDeleteKeyA(parent, name);
    return status == ERROR_SUCCESS ? Done() : Stopped(how, KeyTreeDeleteKey, status);
}
