// Uninstalling the OEM INF files that the removed devices leave unused.
#include <type_traits>

#include "devtools/oem_infs.h"

#include "platform/mbtext.h"

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
    HKEY key = SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ);
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

// When the devices cannot be listed, the INF counts as used.
bool InfInUse(const char* name) {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) return true;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof device;
    char used[INF_NAME_SIZE];
    bool found = false;
    for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        ReadDriverInf(set, &device, used);
        found = MbSameNoCase(used, name);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

}  // namespace

void NoteDriverInf(HDEVINFO set, SP_DEVINFO_DATA* device, InfNotes* notes) {
    char name[INF_NAME_SIZE];
    ReadDriverInf(set, device, name);
    if (!IsOemInf(name) || Noted(*notes, name) || notes->count >= MAX_NOTED_INFS) return;
    lstrcpyA(notes->names[notes->count++], name);
}

// SetupUninstallOEMInfA exists from XP on: looked up, never imported. The
// check above stands in for its own, so the removal is forced (a device
// that is not present would otherwise keep the package in the store). A
// refusal leaves only the INF, which the file step deletes anyway: the
// devices are gone, so it is no failure of the removal.
void UninstallUnusedInfs(const InfNotes& notes) {
    HMODULE setupapi = GetModuleHandleA("setupapi.dll");
    UninstallOemInfFn uninstall = setupapi ? (UninstallOemInfFn)(void (*)(void))GetProcAddress(
                                                 setupapi, "SetupUninstallOEMInfA")
                                           : nullptr;
    if (!uninstall) return;
    for (int i = 0; i < notes.count; ++i)
        if (!InfInUse(notes.names[i])) uninstall(notes.names[i], SUOI_FORCEDELETE, nullptr);
}
