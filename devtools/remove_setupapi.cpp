// The tool for Windows 2000 and later: the devices of each requested setup
// class, present or not, that the request names are removed through the
// class installer (DIF_REMOVE), then the driver service goes, then the
// driver INFs that no device uses any more.
#include "devtools/device_match.h"
#include "devtools/oem_infs.h"
#include "devtools/service_removal.h"
#include "devtools/tool_backend.h"

#define IDS_SIZE 4096
#define TEXT_SIZE 512
#define MAX_GUIDS 8
#define MAX_MATCHES 64  // per pass; a class with more is walked again

const char kToolTag[] = "XLNWLD2K";

namespace {

struct DeviceTexts {
    char hardware_ids[IDS_SIZE];
    char compatible_ids[IDS_SIZE];
    char description[TEXT_SIZE];
    char friendly_name[TEXT_SIZE];
};

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
    ReadProperty(set, device, SPDRP_COMPATIBLEIDS, texts.compatible_ids, IDS_SIZE);
    ReadProperty(set, device, SPDRP_DEVICEDESC, texts.description, TEXT_SIZE);
    ReadProperty(set, device, SPDRP_FRIENDLYNAME, texts.friendly_name, TEXT_SIZE);
    DeviceFacts facts = {nullptr, texts.hardware_ids, texts.compatible_ids, texts.description,
                         texts.friendly_name};
    return DeviceMatches(request, facts);
}

bool NeedsRestart(HDEVINFO set, SP_DEVINFO_DATA* device) {
    SP_DEVINSTALL_PARAMS_A params = {};
    params.cbSize = sizeof params;
    return SetupDiGetDeviceInstallParamsA(set, device, &params) &&
           (params.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART));
}

// The removal from every hardware profile, as Device Manager does it.
void RemoveDevice(HDEVINFO set, SP_DEVINFO_DATA* device, ToolOutcome* outcome) {
    SP_REMOVEDEVICE_PARAMS params = {};
    params.ClassInstallHeader.cbSize = sizeof params.ClassInstallHeader;
    params.ClassInstallHeader.InstallFunction = DIF_REMOVE;
    params.Scope = DI_REMOVEDEVICE_GLOBAL;
    SetupDiSetClassInstallParamsA(set, device, &params.ClassInstallHeader, sizeof params);
    if (!SetupDiCallClassInstaller(DIF_REMOVE, set, device)) {
        NoteFailure(outcome, GetLastError());
        return;
    }
    ++outcome->removed;
    if (NeedsRestart(set, device)) outcome->restart = true;
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
    for (int i = 0; i < count; ++i) {
        NoteDriverInf(set, &named[i], notes);
        RemoveDevice(set, &named[i], outcome);
    }
    return count;
}

// A class (or every class for a null one), walked again while a pass
// filled its list and removed something.
void RemoveFromClass(const GUID* guid, const DeviceRequest& request, InfNotes* notes,
                     ToolOutcome* outcome) {
    DWORD flags = guid ? 0 : DIGCF_ALLCLASSES;
    for (int pass = 0; pass < 16; ++pass) {
        HDEVINFO set = SetupDiGetClassDevsA(guid, nullptr, nullptr, flags);
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

void RemoveService(const char* name, ToolOutcome* outcome) {
    if (!name[0]) return;
    SC_HANDLE manager = OpenServiceManager(outcome);
    if (!manager) return;
    RemoveDriverService(manager, name, outcome);
    CloseServiceHandle(manager);
}

}  // namespace

void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome) {
    static InfNotes notes;
    notes.count = 0;
    if (request.class_count == 0) RemoveFromClass(nullptr, request, &notes, outcome);
    for (int i = 0; i < request.class_count; ++i)
        RemoveFromNamedClass(request.classes[i], request, &notes, outcome);
    RemoveService(request.service, outcome);
    UninstallUnusedInfs(notes);
}
