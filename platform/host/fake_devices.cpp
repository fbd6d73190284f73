// The fake device list: every device the system lists, present or not,
// each with the driver key SetupDiOpenDevRegKey opens; and uninstalling an
// OEM INF, which deletes it and its compiled ".pnf" from the INF folder.
#include "fake_world.h"
#include "setupapi.h"

namespace {

std::vector<std::string> devices;  // each one's driver key, "" for none
const char kDeviceList[] = "device list";

fake::ResetHook devices_reset([] { devices.clear(); });

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

namespace fake {

void AddDevice(const std::string& driver_key) { devices.push_back(driver_key); }

}  // namespace fake

HDEVINFO SetupDiGetClassDevsA(const GUID*, PCSTR, HWND, DWORD) {
    fake::LogCall("SetupDiGetClassDevsA", "");
    if (DWORD error = fake::InjectedFailure("SetupDiGetClassDevsA", "")) return (Fail(error), INVALID_HANDLE_VALUE);
    return fake::OpenHandle(kDeviceList);
}

BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA device) {
    if (!fake::OpenHandlesOf(kDeviceList) || set == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    if (device->cbSize != sizeof *device) return Fail(ERROR_INVALID_PARAMETER);
    if (index >= devices.size()) return Fail(ERROR_NO_MORE_ITEMS);
    device->DevInst = index + 1;
    return TRUE;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set) {
    return fake::CloseHandleOf(set, kDeviceList) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

// The driver key, or INVALID_HANDLE_VALUE as SetupAPI returns on failure.
HKEY SetupDiOpenDevRegKey(HDEVINFO, PSP_DEVINFO_DATA device, DWORD, DWORD, DWORD key_type, REGSAM access) {
    const std::string root = "HKLM\\";
    if (key_type != DIREG_DRV || device->DevInst == 0 || device->DevInst > devices.size())
        return (Fail(ERROR_INVALID_PARAMETER), (HKEY)INVALID_HANDLE_VALUE);
    const std::string& path = devices[device->DevInst - 1];
    HKEY key;
    LONG status = path.compare(0, root.size(), root) != 0 ? (LONG)ERROR_FILE_NOT_FOUND
        : RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str() + root.size(), 0, access, &key);
    if (status != ERROR_SUCCESS) return (Fail((DWORD)status), (HKEY)INVALID_HANDLE_VALUE);
    return key;
}

BOOL SetupUninstallOEMInfA(PCSTR name, DWORD, PVOID) {
    fake::LogCall("SetupUninstallOEMInfA", name);
    if (DWORD error = fake::InjectedFailure("SetupUninstallOEMInfA", name)) return Fail(error);
    std::string base = std::string(name);
    if (base.find('\\') != std::string::npos || base.size() < 5) return Fail(ERROR_INVALID_PARAMETER);
    char windows[MAX_PATH];
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    std::string inf = std::string(windows) + "\\inf\\" + base;
    if (!DeleteFileA(inf.c_str())) return FALSE;
    DeleteFileA((inf.substr(0, inf.size() - 4) + ".pnf").c_str());
    return TRUE;
}
