// Finding the adapter's OEM INF files and uninstalling those no device uses.
#include "devtools/oem_infs.h"

#include <type_traits>

#include "devtools/device_list.h"
#include "devtools/devices_left.h"
#include "devtools/inf_models.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"
#include "system/oem_inf_files.h"
#include "system/run_time_functions.h"

#ifndef SUOI_FORCEDELETE
#define SUOI_FORCEDELETE 0x00000001
#endif

namespace {

// The SDK's own declaration: a wrong calling convention cannot slip in.
typedef decltype(&::SetupUninstallOEMInfA) UninstallOemInfFn;
static_assert(std::is_same<UninstallOemInfFn, BOOL(WINAPI*)(PCSTR, DWORD, PVOID)>::value, "UninstallOemInfFn is not the documented function");

// The InfPath of the device's driver key, empty when it has none.
void ReadDriverInf(HDEVINFO set, SP_DEVINFO_DATA* device, char* name) {
    name[0] = 0;
    HKEY key = OpenDriverKey(set, device);
    if (key == INVALID_HANDLE_VALUE) return;
    DWORD type = 0, size = INF_NAME_SIZE - 1;
    if (RegQueryValueExA(key, "InfPath", nullptr, &type, (BYTE*)name, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        size = 0;
    name[size < INF_NAME_SIZE ? size : INF_NAME_SIZE - 1] = 0;
    RegCloseKey(key);
}

// Only the files setup copied in as oem*.inf: never an INF of Windows.
bool IsOemInf(const char* name) {
    char head[4];
    lstrcpynA(head, name, sizeof head);
    return MbSameNoCase(head, "oem") && !MbFindChar(name, '\\');
}

bool Noted(const InfNotes& notes, const char* name) {
    for (int i = 0; i < notes.count; ++i)
        if (MbSameNoCase(notes.names[i], name)) return true;
    return false;
}

void Note(InfNotes* notes, const char* name) {
    if (!IsOemInf(name) || Noted(*notes, name) || notes->count >= MAX_NOTED_INFS) return;
    lstrcpynA(notes->names[notes->count++], name, INF_NAME_SIZE);
}

bool UsesInf(HDEVINFO set, SP_DEVINFO_DATA* device, const char* name) {
    char used[INF_NAME_SIZE];
    ReadDriverInf(set, device, used);
    return MbSameNoCase(used, name);
}

// When the devices cannot be listed, the INF counts as used.
bool InfInUse(const char* name) { return AnyDeviceLeft(UsesInf, name); }

// Whether the INF's models name a requested id; an unreadable one does not.
bool InfNamesRequest(const char* path, const DeviceRequest& request) {
    static InfScan scan;  // large: kept out of the stack
    static char chunk[4096];
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BeginInfScan(&scan, &request);
    DWORD got = 0;
    bool read;
    while ((read = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != FALSE) && got)
        FeedInfScan(&scan, chunk, got);
    CloseHandle(file);
    return read && EndInfScan(&scan);
}

struct RequestedInfs {
    const DeviceRequest* request;
    InfNotes* notes;
};

bool NoteIfRequested(const char* path, const char* name, void* context) {
    const RequestedInfs& wanted = *(const RequestedInfs*)context;
    if (InfNamesRequest(path, *wanted.request)) Note(wanted.notes, name);
    return true;
}

// SetupUninstallOEMInfA exists from XP on: looked up, never imported.
UninstallOemInfFn FindUninstall() {
    return LoadedFunction<UninstallOemInfFn>("setupapi.dll", "SetupUninstallOEMInfA");
}

}  // namespace

void NoteDriverInf(HDEVINFO set, SP_DEVINFO_DATA* device, InfNotes* notes) {
    char name[INF_NAME_SIZE];
    ReadDriverInf(set, device, name);
    Note(notes, name);
}

void NoteMatchingInfs(const DeviceRequest& request, InfNotes* notes) {
    if (request.id_count == 0) return;
    RequestedInfs wanted = {&request, notes};
    VisitOemInfs(NoteIfRequested, &wanted);
}

// The check above stands in for the function's own, so the removal is
// forced (a device that is not present would otherwise keep the package
// in the store). Windows 2000 has no driver store: its INFs stay, and the
// file step deletes the product's own.
void UninstallUnusedInfs(const InfNotes& notes, ToolOutcome* outcome) {
    UninstallOemInfFn uninstall = FindUninstall();
    for (int i = 0; i < notes.count; ++i) {
        const char* name = notes.names[i];
        if (InfInUse(name)) ToolLog("kept driver package %s: a device uses it", name);
        else if (!uninstall) ToolLog("kept driver package %s: this Windows cannot uninstall it", name);
        else if (uninstall(name, SUOI_FORCEDELETE, nullptr)) ToolLog("removed driver package %s", name);
        else {
            DWORD error = GetLastError();
            NoteFailure(outcome, error);
            ToolLog("could not remove driver package %s: error %u", name, (unsigned)error);
        }
    }
}
