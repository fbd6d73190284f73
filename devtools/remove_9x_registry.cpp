// The tool for Windows 95, 98 and Me: the named devices under HKLM\Enum
// go with their driver keys, then the protocol instances that no remaining
// adapter binds, then the driver service's entries. Windows takes note at
// its next start, so every removal asks for a restart.
#include "devtools/remove_9x_registry.h"

#include "devtools/enum_devices_9x.h"
#include "devtools/registry_tree.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"
#include "removal/guardrails/protected_services.h"

#define SERVICES_KEY "System\\CurrentControlSet\\Services"

const char kToolTag[] = "XLNWLD9X";

namespace {

// The service's entry and its static VxD entry. A name with a backslash,
// or one of the keys that hold every driver, names nothing to delete; an
// entry that is Windows' own stays.
void RemoveServiceEntries(const char* service, ToolOutcome* outcome) {
    if (!service[0] || MbFindChar(service, '\\')) return;
    if (lstrcmpiA(service, "Class") == 0 || lstrcmpiA(service, "VxD") == 0) return;
    static const char* const kParents[] = {SERVICES_KEY, SERVICES_KEY "\\VxD"};
    for (const char* parent : kParents) {
        const char* refusal = parent == kParents[0] ? ServiceRefusal(service)
                                                    : VxdRefusalIn(SERVICES_KEY, service);
        if (refusal) {
            ToolLog("kept service entry %s\\%s: refused by a guardrail: %s", parent, service, refusal);
            continue;
        }
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        LONG status = DeleteKeyTree(key, service);
        RegCloseKey(key);
        if (status == ERROR_SUCCESS) {
            outcome->restart = true;
            ToolLog("removed service entry %s\\%s", parent, service);
        } else if (status != ERROR_FILE_NOT_FOUND) {
            NoteFailure(outcome, (uint32_t)status);
            ToolLog("could not remove service entry %s\\%s: error %u", parent, service, (unsigned)status);
        }
    }
}

}  // namespace

void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome) {
    static BindingList bindings;
    bindings.count = 0;
    RemoveEnumDevices(request, outcome, &bindings);
    RemoveUnboundProtocols(bindings, outcome);
    RemoveServiceEntries(request.service, outcome);
    if (outcome->removed > 0) outcome->restart = true;
}
