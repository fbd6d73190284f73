// The removal's key deletion, which reports the call that stopped it and
// each level above, and the emptiness test.
#include "removal/registry_delete.h"

#include "messages/error_report.h"
#include "platform/key_tree.h"

namespace {

// Each call that can stop a deletion has its code; a key that cannot be
// opened is not reported (the level above reports its failed subkey).
void ReportStop(KeyTreeCall call) {
    static const struct { KeyTreeCall call; int32_t code; const char* diagnostic; } kReports[] = {
        {KeyTreeListKeys, 2754, "RegEnumKey() failed"},
        {KeyTreeSubkey, 2761, "TAVKDeleteKey() failed"},
        {KeyTreeListValues, 2777, "RegEnumValue() failed"},
        {KeyTreeDeleteValue, 2784, "RegDeleteValue() failed"},
        {KeyTreeClose, 2795, "RegCloseKey() failed"},
        {KeyTreeDeleteKey, 2801, "RegDeleteKey() failed"},
    };
    for (const auto& report : kReports)
        if (report.call == call) ReportTavkError(report.code, report.diagnostic);
}

const KeyTreeDeletion kReportedDeletion = {TAVK_REG_NAME_LEN + 1, 0, true, ReportStop};

bool HasNoItem(LONG first_status) { return first_status == ERROR_NO_MORE_ITEMS; }

}  // namespace

int TAVKDeleteKey(HKEY parent, const char* name) {
    LONG open_status;
    return DeleteKeyTree(parent, name, &open_status);
}

int DeleteKeyTree(HKEY parent, const char* name, LONG* open_status) {
    KeyTreeOutcome outcome = DeleteKeyTreeBy(kReportedDeletion, parent, name);
    *open_status = outcome.call == KeyTreeOpen ? outcome.status : ERROR_SUCCESS;
    return outcome.status == ERROR_SUCCESS ? 0 : 2;
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
