// The tool for Windows 95, 98 and Me: a device lives in the registry only,
// under HKLM\Enum\ENUMERATOR\DEVICE-ID\INSTANCE, with its driver key under
// Services\Class. Both go, with the driver service's entries; Windows
// takes note at its next start, so every removal asks for a restart.
#include "devtools/device_match.h"
#include "devtools/registry_tree.h"
#include "devtools/tool_backend.h"
#include "platform/mbtext.h"

#define NAME_SIZE 256
#define IDS_SIZE 2048
#define TEXT_SIZE 260
#define CLASS_KEY "System\\CurrentControlSet\\Services\\Class"
#define SERVICES_KEY "System\\CurrentControlSet\\Services"

const char kToolTag[] = "XLNWLD9X";

namespace {

// What one instance key says of its device.
struct InstanceValues {
    char setup_class[TEXT_SIZE];
    char hardware_ids[IDS_SIZE];
    char compatible_ids[IDS_SIZE];
    char description[TEXT_SIZE];
    char friendly_name[TEXT_SIZE];
    char driver[TEXT_SIZE];
};

void ReadIds(HKEY key, const char* name, char* buffer) {
    ReadText(key, name, buffer, IDS_SIZE - 1);
    CommaListToIdList(buffer, IDS_SIZE);
}

bool InstanceMatches(HKEY instance, const DeviceRequest& request, InstanceValues* v) {
    ReadText(instance, "Class", v->setup_class, sizeof v->setup_class);
    if (!ClassListed(request, v->setup_class)) return false;
    ReadIds(instance, "HardwareID", v->hardware_ids);
    ReadIds(instance, "CompatibleIDs", v->compatible_ids);
    ReadText(instance, "DeviceDesc", v->description, sizeof v->description);
    ReadText(instance, "FriendlyName", v->friendly_name, sizeof v->friendly_name);
    ReadText(instance, "Driver", v->driver, sizeof v->driver);
    DeviceFacts facts = {v->setup_class, v->hardware_ids, v->compatible_ids, v->description,
                         v->friendly_name};
    return DeviceMatches(request, facts);
}

// The driver key only when the value names one "Class\NNNN" key: never a
// whole class, never a key outside the classes.
void RemoveDriverKey(const char* driver, ToolOutcome* outcome) {
    if (!IsDriverKeyName(driver)) return;
    HKEY classes;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASS_KEY, 0, KEY_ALL_ACCESS, &classes) != ERROR_SUCCESS)
        return;
    LONG status = DeleteKeyTree(classes, driver);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
    RegCloseKey(classes);
}

// True when the instance went (the caller's enumeration then stays put).
bool RemoveInstanceIfNamed(HKEY device, const char* name, const DeviceRequest& request,
                           ToolOutcome* outcome) {
    static InstanceValues values;  // large: kept out of the stack
    HKEY instance;
    if (RegOpenKeyExA(device, name, 0, KEY_READ, &instance) != ERROR_SUCCESS) return false;
    bool named = InstanceMatches(instance, request, &values);
    RegCloseKey(instance);
    if (!named) return false;
    RemoveDriverKey(values.driver, outcome);
    LONG status = DeleteKeyTree(device, name);
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        return false;
    }
    ++outcome->removed;
    return true;
}

// The instances of one device id; the id's key goes when it held only
// them. True when it went (the caller's walk then stays at its index).
bool RemoveFromDeviceKey(HKEY enumerator, const char* id, const DeviceRequest& request,
                         ToolOutcome* outcome) {
    HKEY device;
    if (RegOpenKeyExA(enumerator, id, 0, KEY_ALL_ACCESS, &device) != ERROR_SUCCESS) return false;
    char name[NAME_SIZE];
    bool removed_any = false;
    for (DWORD i = 0; RegEnumKeyA(device, i, name, sizeof name) == ERROR_SUCCESS;)
        if (RemoveInstanceIfNamed(device, name, request, outcome)) removed_any = true;
        else ++i;
    bool empty = removed_any && HasNoSubkeys(device);
    RegCloseKey(device);
    return empty && RegDeleteKeyA(enumerator, id) == ERROR_SUCCESS;
}

void RemoveFromEnumerator(HKEY enum_root, const char* bus, const DeviceRequest& request,
                          ToolOutcome* outcome) {
    HKEY enumerator;
    if (RegOpenKeyExA(enum_root, bus, 0, KEY_ALL_ACCESS, &enumerator) != ERROR_SUCCESS) return;
    char id[NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(enumerator, i, id, sizeof id) == ERROR_SUCCESS;)
        if (!RemoveFromDeviceKey(enumerator, id, request, outcome)) ++i;
    RegCloseKey(enumerator);
}

void RemoveDevices(const DeviceRequest& request, ToolOutcome* outcome) {
    HKEY enum_root;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_ALL_ACCESS, &enum_root);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
        return;
    }
    char bus[NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(enum_root, i, bus, sizeof bus) == ERROR_SUCCESS; ++i)
        RemoveFromEnumerator(enum_root, bus, request, outcome);
    RegCloseKey(enum_root);
}

// The service's entry and its static VxD entry. A name with a backslash,
// or one of the keys that hold every driver, names nothing to delete.
void RemoveServiceEntries(const char* service, ToolOutcome* outcome) {
    if (!service[0] || MbFindChar(service, '\\')) return;
    if (lstrcmpiA(service, "Class") == 0 || lstrcmpiA(service, "VxD") == 0) return;
    static const char* const kParents[] = {SERVICES_KEY, SERVICES_KEY "\\VxD"};
    for (const char* parent : kParents) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        LONG status = DeleteKeyTree(key, service);
        RegCloseKey(key);
        if (status == ERROR_SUCCESS) outcome->restart = true;
        else if (status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
    }
}

}  // namespace

void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome) {
    RemoveDevices(request, outcome);
    RemoveServiceEntries(request.service, outcome);
    if (outcome->removed > 0) outcome->restart = true;
}
