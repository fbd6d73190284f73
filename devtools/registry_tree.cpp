// Recursive registry key deletion and small value reads for the tools.
#include "devtools/registry_tree.h"

#define KEY_NAME_SIZE 256

namespace {

// The depth is bounded by the registry itself (it nests at most 512 deep).
LONG DeleteSubkeys(HKEY key) {
    char name[KEY_NAME_SIZE];
    LONG status;
    while ((status = RegEnumKeyA(key, 0, name, sizeof name)) == ERROR_SUCCESS)
        if ((status = DeleteKeyTree(key, name)) != ERROR_SUCCESS) return status;
    return status == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : status;
}

}  // namespace

LONG DeleteKeyTree(HKEY parent, const char* name) {
    if (!name[0]) return ERROR_INVALID_PARAMETER;  // would name the parent itself
    HKEY key;
    LONG status = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key);
    if (status != ERROR_SUCCESS) return status;
    status = DeleteSubkeys(key);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? RegDeleteKeyA(parent, name) : status;
}

bool HasNoSubkeys(HKEY key) {
    char name[KEY_NAME_SIZE];
    return RegEnumKeyA(key, 0, name, sizeof name) == ERROR_NO_MORE_ITEMS;
}

void ReadText(HKEY key, const char* name, char* buffer, DWORD size) {
    DWORD type = 0;
    DWORD length = size - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, (BYTE*)buffer, &length) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ))
        length = 0;
    buffer[length < size ? length : size - 1] = 0;
}
