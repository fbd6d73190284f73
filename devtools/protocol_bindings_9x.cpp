// The protocol instances bound to removed adapters, removed once no
// remaining adapter binds them.
#include "devtools/protocol_bindings_9x.h"

#include "devtools/device_match.h"
#include "devtools/registry_tree.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"

#define TEXT_SIZE 260
#define NETWORK_KEY "Enum\\Network"
#define CLASS_KEY "System\\CurrentControlSet\\Services\\Class"

void NoteBinding(BindingList* bindings, const char* name) {
    for (int i = 0; i < bindings->count; ++i)
        if (MbSameNoCase(bindings->names[i], name)) return;
    if (bindings->count < MAX_BINDINGS) lstrcpynA(bindings->names[bindings->count++], name, BINDING_NAME_SIZE);
}

namespace {

// Whether the instance key `parent`\`name` has a Bindings value `binding`.
bool InstanceBinds(HKEY parent, const char* name, const char* binding) {
    char path[KEY_NAME_SIZE + sizeof "\\Bindings"];
    wsprintfA(path, "%s\\Bindings", name);
    HKEY key;
    if (RegOpenKeyExA(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool binds = RegQueryValueExA(key, binding, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return binds;
}

// Any instance below `key`, `depth` levels down (1: its subkeys).
bool AnyBinds(HKEY key, int depth, const char* binding) {
    char name[KEY_NAME_SIZE];
    bool found = false;
    for (DWORD i = 0; !found && RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        if (depth == 1) {
            found = InstanceBinds(key, name, binding);
            continue;
        }
        HKEY sub;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        found = AnyBinds(sub, depth - 1, binding);
        RegCloseKey(sub);
    }
    return found;
}

// Every device is Enum\BUS\ID\INSTANCE. When Enum cannot be read, the
// protocol counts as bound.
bool StillBound(const char* binding) {
    HKEY enum_root;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum", 0, KEY_READ, &enum_root) != ERROR_SUCCESS) return true;
    bool bound = AnyBinds(enum_root, 3, binding);
    RegCloseKey(enum_root);
    return bound;
}

// What a component of the network is: its kind for the log and the
// class its instance and its driver key belong to.
struct Component {
    const char* kind;
    const char* setup_class;
};
const Component kProtocol = {"protocol", "NetTrans"};
const Component kBoundToProtocols[] = {{"client", "NetClient"}, {"service", "NetService"}};

// Only a key of the component's class ("NetTrans\0001" for a protocol):
// its driver is never anything else.
void RemoveComponentDriver(const char* driver, const Component& component, ToolOutcome* outcome) {
    const char* rest = MbAfterPrefixNoCase(driver, component.setup_class);
    if (!IsDriverKeyName(driver) || !rest || *rest != '\\') return;
    HKEY classes;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CLASS_KEY, 0, KEY_ALL_ACCESS, &classes) != ERROR_SUCCESS) return;
    LONG status = DeleteKeyTree(classes, driver);
    RegCloseKey(classes);
    if (status == ERROR_SUCCESS) ToolLog("removed %s driver key %s", component.kind, driver);
    else if (status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
}

// The component's key (Enum\Network\MSTCP) goes once it holds no instance.
void RemoveEmptyComponentKey(HKEY network, const char* binding) {
    char component[BINDING_NAME_SIZE];
    lstrcpynA(component, binding, sizeof component);
    *(char*)MbFindChar(component, '\\') = 0;
    DeleteKeyIfNoSubkeys(network, component);
}

// What the instance binds is noted in `bound` once it went.
void RemoveComponent(HKEY network, const char* binding, const Component& component, ToolOutcome* outcome,
                     BindingList* bound) {
    static BindingList binds;
    char driver[TEXT_SIZE];
    HKEY instance;
    if (RegOpenKeyExA(network, binding, 0, KEY_READ, &instance) != ERROR_SUCCESS) return;
    ReadText(instance, "Driver", driver, sizeof driver);
    binds.count = 0;
    NoteBindings(instance, &binds);
    RegCloseKey(instance);
    LONG status = DeleteKeyTree(network, binding);
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        ToolLog("could not remove %s Enum\\Network\\%s: error %u", component.kind, binding, (unsigned)status);
        return;
    }
    ToolLog("removed %s Enum\\Network\\%s", component.kind, binding);
    for (int i = 0; i < binds.count; ++i) NoteBinding(bound, binds.names[i]);
    RemoveComponentDriver(driver, component, outcome);
    RemoveEmptyComponentKey(network, binding);
}

// A client or a service, by the class its instance names; null for
// anything else, which a protocol's removal never takes along, and for an
// instance that is not there (`present` says which).
const Component* BoundComponent(HKEY network, const char* binding, bool* present) {
    char setup_class[TEXT_SIZE];
    HKEY instance;
    *present = RegOpenKeyExA(network, binding, 0, KEY_READ, &instance) == ERROR_SUCCESS;
    if (!*present) return nullptr;
    ReadText(instance, "Class", setup_class, sizeof setup_class);
    RegCloseKey(instance);
    for (const Component& component : kBoundToProtocols)
        if (MbSameNoCase(setup_class, component.setup_class)) return &component;
    return nullptr;
}

// The clients and services bound to the removed protocols.
void RemoveUnboundClients(HKEY network, const BindingList& clients, ToolOutcome* outcome) {
    static BindingList ignored;
    for (int i = 0; i < clients.count; ++i) {
        const char* name = clients.names[i];
        bool present;
        const Component* component = BoundComponent(network, name, &present);
        if (!present) continue;
        if (!component) ToolLog("kept Enum\\Network\\%s: not a network client or service", name);
        else if (StillBound(name)) ToolLog("kept %s Enum\\Network\\%s: a protocol left binds it", component->kind, name);
        else RemoveComponent(network, name, *component, outcome, &ignored);
    }
}

}  // namespace

// Only names shaped "PROTOCOL\NNNN" are noted: nothing else is an instance.
void NoteBindings(HKEY instance, BindingList* bindings) {
    HKEY key;
    if (RegOpenKeyExA(instance, "Bindings", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    char name[BINDING_NAME_SIZE];
    LONG status = ERROR_SUCCESS;
    for (DWORD i = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++i) {
        DWORD size = sizeof name;
        status = RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS && IsDriverKeyName(name)) NoteBinding(bindings, name);
    }
    RegCloseKey(key);
}

void RemoveUnboundProtocols(const BindingList& bindings, ToolOutcome* outcome) {
    HKEY network;
    if (bindings.count == 0 ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, NETWORK_KEY, 0, KEY_ALL_ACCESS, &network) != ERROR_SUCCESS)
        return;
    static BindingList clients;
    clients.count = 0;
    for (int i = 0; i < bindings.count; ++i) {
        if (StillBound(bindings.names[i])) ToolLog("kept protocol Enum\\Network\\%s: another adapter binds it", bindings.names[i]);
        else RemoveComponent(network, bindings.names[i], kProtocol, outcome, &clients);
    }
    RemoveUnboundClients(network, clients, outcome);
    RegCloseKey(network);
}
