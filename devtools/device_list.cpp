// The system's list of devices and their driver keys, asked of SetupAPI.
#include "devtools/device_list.h"

HDEVINFO OpenAllDevices() { return SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES); }

bool DeviceAt(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* device) {
    return SetupDiEnumDeviceInfo(set, index, device) != FALSE;
}

void CloseDeviceList(HDEVINFO set) { SetupDiDestroyDeviceInfoList(set); }

HKEY OpenDriverKey(HDEVINFO set, SP_DEVINFO_DATA* device) {
    return SetupDiOpenDevRegKey(set, device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ);
}
