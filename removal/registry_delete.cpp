// Recursive deletion of a registry key and the emptiness test. Subkeys go
// first, then values, then the key: a failure deep down leaves every key on
// the way up with its values, and each level above it adds its own report.
#include "removal/registry_delete.h"

#include "messages/error_report.h"

namespace {

// The status of one deletion stage: 0 done, 2 failed (already reported).
int Fail(int32_t code, const char* diagnostic) {
    ReportTavkError(code, diagnostic);
    return 2;
}

// Deletes every subkey, always asking for index 0: each deletion removes
// the one standing there.
int DeleteSubkeys(HKEY key) {
    char name[TAVK_REG_NAME_LEN + 1];
    for (;;) {
        LONG status = RegEnumKeyA(key, 0, name, sizeof name);
        if (status == ERROR_NO_MORE_ITEMS) return 0;
        if (status != ERROR_SUCCESS) return Fail(2754, "RegEnumKey() failed");
        int inner = TAVKDeleteKey(key, name);
        if (inner != 0) {
            Fail(2761, "TAVKDeleteKey() failed");
            return inner;
        }
    }
}

int DeleteValues(HKEY key) {
    char name[TAVK_REG_NAME_LEN + 1];
    for (;;) {
        DWORD size = sizeof name;
        LONG status = RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return 0;
        if (status != ERROR_SUCCESS) return Fail(2777, "RegEnumValue() failed");
        if (RegDeleteValueA(key, name) != ERROR_SUCCESS)
            return Fail(2784, "RegDeleteValue() failed");
    }
}

// Empties an open key and closes it, on every path.
int EmptyAndClose(HKEY key) {
    int status = DeleteSubkeys(key);
    if (status == 0) status = DeleteValues(key);
    LONG closed = RegCloseKey(key);
    if (status != 0) return status;
    return closed == ERROR_SUCCESS ? 0 : Fail(2795, "RegCloseKey() failed");
}

bool HasNoItem(LONG first_status) { return first_status == ERROR_NO_MORE_ITEMS; }

}  // namespace

int TAVKDeleteKey(HKEY parent, const char* name) {
    LONG open_status;
    return DeleteKeyTree(parent, name, &open_status);
}

int DeleteKeyTree(HKEY parent, const char* name, LONG* open_status) {
    *open_status = ERROR_INVALID_PARAMETER;
    if (!name || !*name) return 2;
    HKEY key;
    *open_status = RegOpenKeyA(parent, name, &key);
    if (*open_status != ERROR_SUCCESS) return 2;
    int status = EmptyAndClose(key);
    if (status != 0) return status;
    if (RegDeleteKeyA(parent, name) != ERROR_SUCCESS) return Fail(2801, "RegDeleteKey() failed");
    return 0;
}

// Only the first subkey and the first value need asking: any entry, or any
// failure to read one, already means "not empty".
int IsKeyEmpty(HKEY parent, const char* name) {
    if (!name || !*name) return 0;
    HKEY key;
    if (RegOpenKeyA(parent, name, &key) != ERROR_SUCCESS) return 0;
    char item[TAVK_REG_NAME_LEN + 1];
    DWORD size = sizeof item;
    bool empty = HasNoItem(RegEnumKeyA(key, 0, item, sizeof item)) &&
                 HasNoItem(RegEnumValueA(key, 0, item, &size, nullptr, nullptr, nullptr, nullptr));
    if (RegCloseKey(key) != ERROR_SUCCESS) return 0;
    return empty ? 1 : 0;
}
