// Walking every device the system lists, present or not.
#include "devtools/devices_left.h"

#include "devtools/device_list.h"

bool AnyDeviceLeft(DeviceTest test, const char* name) {
    HDEVINFO set = OpenAllDevices();
    if (set == INVALID_HANDLE_VALUE) return true;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof device;
    bool found = false;
    for (DWORD i = 0; !found && DeviceAt(set, i, &device); ++i)
        found = test(set, &device, name);
    CloseDeviceList(set);
    return found;
}
