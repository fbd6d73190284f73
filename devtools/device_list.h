// The system's list of devices, present or not, and a device's driver key:
// the SetupAPI calls behind deciding whether a driver package or a service
// is still used. The unit tests put a stand-in behind this header; the
// Wine scenarios list real devices.
#pragma once

#include "platform/platform.h"

#include <setupapi.h>

// Every device the system lists; INVALID_HANDLE_VALUE when they cannot be
// listed.
HDEVINFO OpenAllDevices();
// The device at `index` (its cbSize set by the caller); false past the last.
bool DeviceAt(HDEVINFO set, DWORD index, SP_DEVINFO_DATA* device);
void CloseDeviceList(HDEVINFO set);

// The device's driver key, to read; INVALID_HANDLE_VALUE when it has none.
HKEY OpenDriverKey(HDEVINFO set, SP_DEVINFO_DATA* device);
