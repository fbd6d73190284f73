// The tool for Windows 2000 and later: the devices of each requested setup
// class (the network adapters' when none is listed), present or not, that
// the request names are removed through the
// class installer (DIF_REMOVE, quietly), each after the devices below it.
// Then the driver service goes, unless a removal failed or another device
// still uses it, and last the adapter's driver packages that no device
// uses any more.
#include "devtools/remove_setupapi.h"

#include "devtools/device_children.h"
#include "devtools/device_match.h"
#include "devtools/devices_left.h"
#include "devtools/oem_infs.h"
#include "devtools/service_manager.h"
#include "devtools/service_removal.h"
#include "devtools/tool_log.h"

#include <cfgmgr32.h>

#define IDS_SIZE 4096
#define TEXT_SIZE 512
#define MAX_GUIDS 8
#define MAX_MATCHES 64   // per pass; a class with more is walked again
#define MAX_CHILDREN 64  // below one device

const char kToolTag[] = "XLNWLD2K";

namespace {

struct DeviceTexts {
    char hardware_ids[IDS_SIZE];
    char description[TEXT_SIZE];
    char friendly_name[TEXT_SIZE];
};

// The network adapters' class, walked when the request lists none.
const GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

void ReadProperty(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property, char* buffer, DWORD size) {
    buffer[0] = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, property, nullptr, (BYTE*)buffer, size - 2,
                                           nullptr))
        buffer[0] = 0;
    TerminateIdList(buffer, size);
}

bool Named(HDEVINFO set, SP_DEVINFO_DATA* device, const DeviceRequest& request) {
    static DeviceTexts texts;  // large: kept out of the stack
    ReadProperty(set, device, SPDRP_HARDWAREID, texts.hardware_ids, IDS_SIZE);
    ReadProperty(set, device, SPDRP_DEVICEDESC, texts.description, TEXT_SIZE);
    ReadProperty(set, device, SPDRP_FRIENDLYNAME, texts.friendly_name, TEXT_SIZE);
    // The set holds one class's devices, chosen by the caller.
    DeviceFacts facts = {nullptr, texts.hardware_ids, texts.description, texts.friendly_name};
    return DeviceMatches(request, facts);
}

// The device instance id, for the log.
void InstanceId(HDEVINFO set, SP_DEVINFO_DATA* device, char* id, DWORD size) {
    if (!SetupDiGetDeviceInstanceIdA(set, device, id, size, nullptr)) lstrcpynA(id, "(unknown)", size);
}

bool NeedsRestart(HDEVINFO set, SP_DEVINFO_DATA* device) {
    SP_DEVINSTALL_PARAMS_A params = {};
    params.cbSize = sizeof params;
    return SetupDiGetDeviceInstallParamsA(set, device, &params) &&
           (params.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART));
}

// No class or co-installer shows anything: the run may be silent.
bool MakeQuiet(HDEVINFO set, SP_DEVINFO_DATA* device) {
    SP_DEVINSTALL_PARAMS_A params = {};
    params.cbSize = sizeof params;
    if (!SetupDiGetDeviceInstallParamsA(set, device, &params)) return false;
    params.Flags |= DI_QUIETINSTALL;
    return SetupDiSetDeviceInstallParamsA(set, device, &params) != FALSE;
}

// The removal from every hardware profile, as Device Manager does it. A
// refusal that gives no reason is a system that does not implement the
// call (Wine's setup API): DIF_REMOVE then removes with its defaults.
bool SetRemoveParams(HDEVINFO set, SP_DEVINFO_DATA* device) {
    SP_REMOVEDEVICE_PARAMS params = {};
    params.ClassInstallHeader.cbSize = sizeof params.ClassInstallHeader;
    params.ClassInstallHeader.InstallFunction = DIF_REMOVE;
    params.Scope = DI_REMOVEDEVICE_GLOBAL;
    SetLastError(ERROR_SUCCESS);
    if (SetupDiSetClassInstallParamsA(set, device, &params.ClassInstallHeader, sizeof params)) return true;
    return GetLastError() == ERROR_SUCCESS;
}

// The devices removed so far, so that a named device already removed as
// another's child is not removed twice.
struct RemovedIds {
    int count;
    char ids[MAX_MATCHES + MAX_CHILDREN][MAX_DEVICE_ID_LEN + 1];
};
RemovedIds removed_ids;

bool AlreadyRemoved(const char* id) {
    for (int i = 0; i < removed_ids.count; ++i)
        if (lstrcmpiA(removed_ids.ids[i], id) == 0) return true;
    return false;
}

void NoteRemoved(const char* id) {
    if (removed_ids.count < MAX_MATCHES + MAX_CHILDREN) lstrcpyA(removed_ids.ids[removed_ids.count++], id);
}

void RemoveOne(HDEVINFO set, SP_DEVINFO_DATA* device, ToolOutcome* outcome) {
    char id[MAX_DEVICE_ID_LEN + 1];
    InstanceId(set, device, id, sizeof id);
    if (AlreadyRemoved(id)) return;
    if (!MakeQuiet(set, device) || !SetRemoveParams(set, device) ||
        !SetupDiCallClassInstaller(DIF_REMOVE, set, device)) {
        DWORD error = GetLastError();
        NoteFailure(outcome, error);
        ToolLog("could not remove device %s: error %u", id, (unsigned)error);
        return;
    }
    ++outcome->removed;
    NoteRemoved(id);
    bool restart = NeedsRestart(set, device);
    if (restart) outcome->restart = true;
    ToolLog(restart ? "removed device %s: it goes at the next start of Windows" : "removed device %s", id);
}

// CM_Get_Child and CM_Get_Sibling, for the walk; a device that is not
// present has no node, and so no children to find.
bool ChildOf(void*, uint32_t node, uint32_t* child) {
    DEVINST found = (DEVINST)*child;
    if (CM_Get_Child(&found, (DEVINST)node, 0) != CR_SUCCESS) return false;
    *child = (uint32_t)found;
    return true;
}

bool SiblingOf(void*, uint32_t node, uint32_t* sibling) {
    DEVINST found = (DEVINST)*sibling;
    if (CM_Get_Sibling(&found, (DEVINST)node, 0) != CR_SUCCESS) return false;
    *sibling = (uint32_t)found;
    return true;
}

// A child, opened by its instance id into a set of its own.
void RemoveChild(uint32_t node, InfNotes* notes, ToolOutcome* outcome) {
    char id[MAX_DEVICE_ID_LEN + 1];
    if (CM_Get_Device_IDA((DEVINST)node, id, sizeof id, 0) != CR_SUCCESS) return;
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    if (set == INVALID_HANDLE_VALUE) {
        NoteFailure(outcome, GetLastError());
        return;
    }
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof device;
    if (SetupDiOpenDeviceInfoA(set, id, nullptr, 0, &device)) {
        NoteDriverInf(set, &device, notes);
        RemoveOne(set, &device, outcome);
    }
    SetupDiDestroyDeviceInfoList(set);
}

void RemoveWithChildren(HDEVINFO set, SP_DEVINFO_DATA* device, InfNotes* notes, ToolOutcome* outcome) {
    static uint32_t children[MAX_CHILDREN];
    int count = ListDescendants((uint32_t)device->DevInst, ChildOf, SiblingOf, nullptr, children, MAX_CHILDREN);
    for (int i = 0; i < count; ++i) RemoveChild(children[i], notes, outcome);
    NoteDriverInf(set, device, notes);
    RemoveOne(set, device, outcome);
}

// One pass over a set: the named devices are found first and removed
// after, so that the walk is never disturbed. Returns how many were found.
int RemoveNamedInSet(HDEVINFO set, const DeviceRequest& request, InfNotes* notes,
                     ToolOutcome* outcome) {
    static SP_DEVINFO_DATA named[MAX_MATCHES];
    int count = 0;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof device;
    for (DWORD i = 0; count < MAX_MATCHES && SetupDiEnumDeviceInfo(set, i, &device); ++i)
        if (Named(set, &device, request)) named[count++] = device;
    for (int i = 0; i < count; ++i) RemoveWithChildren(set, &named[i], notes, outcome);
    return count;
}

// A class, walked again while a pass filled its list and removed something.
void RemoveFromClass(const GUID* guid, const DeviceRequest& request, InfNotes* notes,
                     ToolOutcome* outcome) {
    for (int pass = 0; pass < 16; ++pass) {
        HDEVINFO set = SetupDiGetClassDevsA(guid, nullptr, nullptr, 0);
        if (set == INVALID_HANDLE_VALUE) {
            NoteFailure(outcome, GetLastError());
            return;
        }
        int32_t before = outcome->removed;
        int found = RemoveNamedInSet(set, request, notes, outcome);
        SetupDiDestroyDeviceInfoList(set);
        if (found < MAX_MATCHES || outcome->removed == before) return;
    }
}

// A class this machine does not know has no devices: nothing to do.
void RemoveFromNamedClass(const char* name, const DeviceRequest& request, InfNotes* notes,
                          ToolOutcome* outcome) {
    GUID guids[MAX_GUIDS];
    DWORD count = 0;
    if (!SetupDiClassGuidsFromNameA(name, guids, MAX_GUIDS, &count) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return;
    for (DWORD i = 0; i < count && i < MAX_GUIDS; ++i)
        RemoveFromClass(&guids[i], request, notes, outcome);
}

bool UsesService(HDEVINFO set, SP_DEVINFO_DATA* device, const char* name) {
    char service[TEXT_SIZE];
    ReadProperty(set, device, SPDRP_SERVICE, service, sizeof service);
    return lstrcmpiA(service, name) == 0;
}

// Any device left, present or not, whose driver is the service. When the
// devices cannot be listed, the service counts as used.
bool ServiceInUse(const char* name) { return AnyDeviceLeft(UsesService, name); }

void KeepService(const char* name, const char* why, ToolOutcome* outcome) {
    lstrcpynA(outcome->kept_service, name, sizeof outcome->kept_service);
    ToolLog("kept service %s: %s", name, why);
}

void RemoveService(const char* name, bool removal_failed, ToolOutcome* outcome) {
    if (!name[0]) return;
    if (removal_failed) return KeepService(name, "a device could not be removed", outcome);
    if (ServiceInUse(name)) return KeepService(name, "another device uses it", outcome);
    SC_HANDLE manager = OpenServiceManager(outcome);
    if (!manager) return;
    RemoveDriverService(manager, name, outcome);
    CloseServiceManagerHandle(manager);
}

}  // namespace

void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome) {
    static InfNotes notes;
    notes.count = 0;
    removed_ids.count = 0;
    if (request.class_count == 0) RemoveFromClass(&kNetClass, request, &notes, outcome);
    for (int i = 0; i < request.class_count; ++i)
        RemoveFromNamedClass(request.classes[i], request, &notes, outcome);
    RemoveService(request.service, outcome->failed, outcome);
    NoteMatchingInfs(request, &notes);
    UninstallUnusedInfs(notes, outcome);
}
