// Stand-in for the system's device list: every device, present or not, in
// the order a test added them, each with the driver key ("HKLM\\...", or
// empty for none) that the fake registry holds. The list is counted with
// the fake's kernel handles; its opening is logged as
// "SetupDiGetClassDevsA", so that the one failure table fails it.
#include "devtools/device_list.h"

#include "tests/stand_ins/stand_ins.h"

namespace {

std::vector<std::string> devices;  // each one's driver key, "" for none
const char kDeviceList[] = "device list";

fake::ResetHook devices_reset([] { devices.clear(); });

}  // namespace

HDEVINFO OpenAllDevices() {
    fake::LogCall("SetupDiGetClassDevsA", "");
    if (DWORD error = fake::InjectedFailure("SetupDiGetClassDevsA", "")) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return fake::OpenHandle(kDeviceList);
}

bool DeviceAt(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* device) {
    if (!fake::OpenHandlesOf(kDeviceList) || set == INVALID_HANDLE_VALUE || index >= devices.size())
        return false;
    device->DevInst = index + 1;
    return true;
}

void CloseDeviceList(HDEVINFO set) { fake::CloseHandleOf(set, kDeviceList); }

HKEY OpenDriverKey(HDEVINFO, SP_DEVINFO_DATA* device) {
    const std::string root = "HKLM\\";
    bool listed = device->DevInst && device->DevInst <= devices.size();
    const std::string path = listed ? devices[device->DevInst - 1] : "";
    HKEY key;
    if (path.compare(0, root.size(), root) != 0 ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str() + root.size(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return (HKEY)INVALID_HANDLE_VALUE;
    return key;
}

namespace stand_in {

void AddDevice(const std::string& driver_key) { devices.push_back(driver_key); }

}  // namespace stand_in
