// The vendor's keys at the end of the removal: the product's software key
// (unless the description keeps it), the key the description was read
// from, and the vendor's top key once nothing is left in it.

#include "removal/software_keys.h"

#include "messages/error_report.h"
#include "removal/registry_delete.h"
#include "removal/system_changes.h"

namespace {
const char kVendorKey[] = "SOFTWARE\\Tarnwell";
}  // namespace

int RemoveSoftwareKey(const UninstallData& data) {
    if (data.preserve_software_key || !data.software_key[0]) return 0;
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, data.software_key, &key) != ERROR_SUCCESS) return 0;
    if (RegCloseKey(key) != ERROR_SUCCESS) {
        ReportTavkError(2343, "RegCloseKey() failed");
        return 2;
    }
    // A protected key is skipped on purpose: no failure to report.
    ChangeOutcome deleted = DeleteRegistryKey(HKEY_LOCAL_MACHINE, data.software_key, KeyWithEverything).outcome;
    if (!ChangeMadeOrPreviewed(deleted) && deleted != ChangeRefused) {
        ReportTavkError(2350, "TAVKDeleteKey() failed");
        return 2;
    }
    return 0;
}

// A description key that is gone already (it lay below the software key)
// fails silently: a key that cannot be opened is not reported.
int RemoveDescriptionKey(const UninstallData& data) {
    if (data.description_key[0])
        DeleteRegistryKey(HKEY_LOCAL_MACHINE, data.description_key, KeyWithEverything);
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, kVendorKey, KeyOnlyIfEmpty);
    return 0;
}
