// The removal step for the description's list of registry keys: each entry
// once, by ascending order, either the named key or the matching direct
// subkeys of it, unconditionally or only when empty.
#include "removal/registry_keys_removal.h"

#include "removal/system_changes.h"

#include "platform/mbtext.h"

namespace {

// Subkey names read while searching a key.
const DWORD kSearchNameSize = TAVK_KEY_PATH_LEN + 1;

// Indices of the entries by ascending order, equal orders kept in record
// order (a stable insertion sort). Negative orders, which only an INI file
// can give, therefore run before order 0; no order value, however large or
// small, costs more than one pass or makes an entry run twice.
void SortByOrder(const UninstallData& data, int count, int* sorted) {
    for (int i = 0; i < count; ++i) {
        int j = i;
        for (; j > 0 && data.registry_keys[sorted[j - 1]].order > data.registry_keys[i].order; --j)
            sorted[j] = sorted[j - 1];
        sorted[j] = i;
    }
}

KeyDeletion HowToDelete(const RegistryKeyEntry& entry) {
    return entry.delete_if_non_empty ? KeyWithEverything : KeyOnlyIfEmpty;
}

// Handles one candidate subkey; true when it is gone afterwards, so that
// the next one now stands at the same index.
bool HandleSubkey(const RegistryKeyEntry& entry, HKEY key, const char* name) {
    if (!MbFind(name, entry.search_sub_keys)) return false;
    return DeleteRegistrySubkey(entry.base_key, entry.key_path, key, name, HowToDelete(entry)).outcome == ChangeDone;
}

// Tests each subkey present at the start exactly once: the index moves on
// only past a subkey that is still there.
void SearchSubkeys(const RegistryKeyEntry& entry) {
    HKEY key;
    if (RegOpenKeyA(entry.base_key, entry.key_path, &key) != ERROR_SUCCESS) return;
    char name[kSearchNameSize];
    DWORD index = 0;
    while (RegEnumKeyA(key, index, name, kSearchNameSize) == ERROR_SUCCESS) {
        if (!HandleSubkey(entry, key, name)) ++index;
    }
    RegCloseKey(key);
}

void RunEntry(const RegistryKeyEntry& entry) {
    if (!entry.base_key || !entry.key_path[0]) return;
    if (entry.search_sub_keys[0]) {
        SearchSubkeys(entry);
        return;
    }
    DeleteRegistryKey(entry.base_key, entry.key_path, HowToDelete(entry));
}

}  // namespace

int RemoveRegistryKeys(const UninstallData& data) {
    int sorted[TAVK_MAX_NUM_REG_KEYS];
    int count = CountWithin(data.registry_key_count, TAVK_MAX_NUM_REG_KEYS);
    SortByOrder(data, count, sorted);
    for (int i = 0; i < count; ++i) RunEntry(data.registry_keys[sorted[i]]);
    return 0;
}
