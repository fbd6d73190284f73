// Finding the requested devices under HKLM\Enum, then removing them.
#include "devtools/enum_devices_9x.h"

#include "devtools/device_match.h"
#include "devtools/registry_tree.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"

#define IDS_SIZE 2048
#define TEXT_SIZE 260
#define PATH_SIZE (3 * KEY_NAME_SIZE)  // BUS\ID\INSTANCE
#define MAX_NAMED 64                   // per pass; more are found by the next
#define MAX_PASSES 16
#define CLASS_KEY "System\\CurrentControlSet\\Services\\Class"

namespace {

// What one instance key says of its device.
struct InstanceValues {
    char setup_class[TEXT_SIZE];
    char hardware_ids[IDS_SIZE];
    char description[TEXT_SIZE];
    char friendly_name[TEXT_SIZE];
    char driver[TEXT_SIZE];
};

struct NamedDevice {
    char path[PATH_SIZE];
    char description[TEXT_SIZE];
    char driver[TEXT_SIZE];
};

struct NamedDevices {
    int count;
    NamedDevice devices[MAX_NAMED];
};

void ReadIds(HKEY key, const char* name, char* buffer) {
    ReadText(key, name, buffer, IDS_SIZE - 1);
    CommaListToIdList(buffer, IDS_SIZE);
}

bool InstanceMatches(HKEY instance, const DeviceRequest& request, InstanceValues* v) {
    ReadText(instance, "Class", v->setup_class, sizeof v->setup_class);
    if (!ClassListed(request, v->setup_class)) return false;
    ReadIds(instance, "HardwareID", v->hardware_ids);
    ReadText(instance, "DeviceDesc", v->description, sizeof v->description);
    ReadText(instance, "FriendlyName", v->friendly_name, sizeof v->friendly_name);
    ReadText(instance, "Driver", v->driver, sizeof v->driver);
    DeviceFacts facts = {v->setup_class, v->hardware_ids, v->description, v->friendly_name};
    return DeviceMatches(request, facts);
}

void JoinPath(char* path, const char* bus, const char* id, const char* instance) {
    wsprintfA(path, "%s\\%s\\%s", bus, id, instance);
}

// Notes the instance `bus`\`id`\`name` of the key `device` when named.
void NoteIfNamed(HKEY device, const char* bus, const char* id, const char* name,
                 const DeviceRequest& request, NamedDevices* named) {
    static InstanceValues values;  // large: kept out of the stack
    HKEY instance;
    if (named->count >= MAX_NAMED || RegOpenKeyExA(device, name, 0, KEY_READ, &instance) != ERROR_SUCCESS)
        return;
    if (InstanceMatches(instance, request, &values)) {
        NamedDevice* d = &named->devices[named->count++];
        JoinPath(d->path, bus, id, name);
        lstrcpynA(d->description, values.description, sizeof d->description);
        lstrcpynA(d->driver, values.driver, sizeof d->driver);
    }
    RegCloseKey(instance);
}

void FindInDevice(HKEY enumerator, const char* bus, const char* id, const DeviceRequest& request,
                  NamedDevices* named) {
    HKEY device;
    if (RegOpenKeyExA(enumerator, id, 0, KEY_READ, &device) != ERROR_SUCCESS) return;
    char name[KEY_NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(device, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        NoteIfNamed(device, bus, id, name, request, named);
    RegCloseKey(device);
}

void FindInBus(HKEY enum_root, const char* bus, const DeviceRequest& request, NamedDevices* named) {
    HKEY enumerator;
    if (RegOpenKeyExA(enum_root, bus, 0, KEY_READ, &enumerator) != ERROR_SUCCESS) return;
    char id[KEY_NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(enumerator, i, id, sizeof id) == ERROR_SUCCESS; ++i)
        FindInDevice(enumerator, bus, id, request, named);
    RegCloseKey(enumerator);
}

// Nothing is deleted during this walk.
void FindNamed(HKEY enum_root, const DeviceRequest& request, NamedDevices* named) {
    named->count = 0;
    char bus[KEY_NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(enum_root, i, bus, sizeof bus) == ERROR_SUCCESS; ++i)
        FindInBus(enum_root, bus, request, named);
}

// The driver key only when the value names one "Class\NNNN" key: never a
// whole class, never a key outside the classes.
void RemoveDriverKey(const char* driver, ToolOutcome* outcome) {
    if (!IsDriverKeyName(driver)) return;
    HKEY classes;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASS_KEY, 0, KEY_ALL_ACCESS, &classes) != ERROR_SUCCESS)
        return;
    LONG status = DeleteKeyTree(classes, driver);
    RegCloseKey(classes);
    if (status == ERROR_SUCCESS) ToolLog("removed driver key %s", driver);
    else if (status != ERROR_FILE_NOT_FOUND) {
        NoteFailure(outcome, (uint32_t)status);
        ToolLog("could not remove driver key %s: error %u", driver, (unsigned)status);
    }
}

// The device id's key (BUS\ID) goes when its last instance went.
void RemoveEmptyDeviceKey(HKEY enum_root, const char* path) {
    char id_path[PATH_SIZE];
    lstrcpynA(id_path, path, sizeof id_path);
    char* slash = nullptr;
    for (char* p = id_path; *p; p = (char*)MbNext(p))
        if (*p == '\\') slash = p;
    *slash = 0;  // a path always holds two backslashes
    DeleteKeyIfNoSubkeys(enum_root, id_path);
}

// The protocols the device binds, read before it goes; noted only when it
// went, since a device that stays (even in part) still binds them.
void ReadBindings(HKEY enum_root, const char* path, BindingList* bound) {
    bound->count = 0;
    HKEY instance;
    if (RegOpenKeyExA(enum_root, path, 0, KEY_READ, &instance) != ERROR_SUCCESS) return;
    NoteBindings(instance, bound);
    RegCloseKey(instance);
}

// True when the device went.
bool RemoveNamedDevice(HKEY enum_root, const NamedDevice& device, ToolOutcome* outcome,
                       BindingList* bindings) {
    static BindingList bound;
    ReadBindings(enum_root, device.path, &bound);
    LONG status = DeleteKeyTree(enum_root, device.path);
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        ToolLog("could not remove device Enum\\%s (%s): error %u", device.path, device.description,
                (unsigned)status);
        return false;
    }
    ++outcome->removed;
    ToolLog("removed device Enum\\%s (%s)", device.path, device.description);
    for (int i = 0; i < bound.count; ++i) NoteBinding(bindings, bound.names[i]);
    RemoveDriverKey(device.driver, outcome);
    RemoveEmptyDeviceKey(enum_root, device.path);
    return true;
}

}  // namespace

// Walked again while a pass filled its list and removed something.
void RemoveEnumDevices(const DeviceRequest& request, ToolOutcome* outcome, BindingList* bindings) {
    HKEY enum_root;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_ALL_ACCESS, &enum_root);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
        return;
    }
    static NamedDevices named;
    for (int pass = 0; pass < MAX_PASSES; ++pass) {
        FindNamed(enum_root, request, &named);
        int removed = 0;
        for (int i = 0; i < named.count; ++i) removed += RemoveNamedDevice(enum_root, named.devices[i], outcome, bindings);
        if (named.count < MAX_NAMED || removed == 0) break;
    }
    RegCloseKey(enum_root);
}
