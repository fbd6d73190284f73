// Recursive registry key deletion, subkey lists and small value reads for
// the tools.
#include "devtools/registry_tree.h"

#include "platform/key_tree.h"
#include "platform/mbtext.h"

#define SERVICES_KEY "System\\CurrentControlSet\\Services"

namespace {

bool DotsOnly(const char* name) {
    for (; *name; ++name)
        if (*name != '.') return false;
    return true;
}

// Values are not looked at.
bool HasNoSubkeys(HKEY key) {
    char name[KEY_NAME_SIZE];
    return RegEnumKeyA(key, 0, name, sizeof name) == ERROR_NO_MORE_ITEMS;
}

}  // namespace

LONG DeleteKeyTree(HKEY parent, const char* name) {
    // RegDeleteKeyA takes the values along: a value name too long to list
    // cannot stop the deletion.
    static const KeyTreeDeletion kQuietDeletion = {KEY_NAME_SIZE, KEY_ALL_ACCESS, false, nullptr};
    return DeleteKeyTreeBy(kQuietDeletion, parent, name).status;
}

void DeleteKeyIfNoSubkeys(HKEY parent, const char* name) {
    HKEY key;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    bool empty = HasNoSubkeys(key);
    RegCloseKey(key);
    if (empty) RegDeleteKeyA(parent, name);
}

// A name too long for the room is passed over, never cut.
int CollectSubkeyNames(HKEY key, KeyName* names, int capacity) {
    int count = 0;
    LONG status = ERROR_SUCCESS;
    for (DWORD i = 0; count < capacity && status != ERROR_NO_MORE_ITEMS; ++i) {
        status = RegEnumKeyA(key, i, names[count], KEY_NAME_SIZE);
        if (status == ERROR_SUCCESS) ++count;
        else if (status != ERROR_MORE_DATA) break;
    }
    return count;
}

void ReadText(HKEY key, const char* name, char* buffer, DWORD size) {
    DWORD type = 0;
    DWORD length = size - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer, &length) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ))
        length = 0;
    buffer[length < size ? length : size - 1] = 0;
}

LONG DeleteServiceKey(const char* name) {
    if (!name[0] || MbFindChar(name, '\\') || DotsOnly(name)) return ERROR_INVALID_NAME;
    HKEY services;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, SERVICES_KEY, 0, KEY_ALL_ACCESS, &services);
    if (status != ERROR_SUCCESS) return status;
    status = DeleteKeyTree(services, name);
    RegCloseKey(services);
    return status;
}
