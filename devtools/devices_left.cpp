// Walking every device the system lists, present or not.
#include "devtools/devices_left.h"

bool AnyDeviceLeft(DeviceTest test, const char* name) {
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE) return true;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof device;
    bool found = false;
    for (DWORD i = 0; !found && SetupDiEnumDeviceInfo(set, i, &device); ++i)
        found = test(set, &device, name);
    SetupDiDestroyDeviceInfoList(set);
    return found;
}
