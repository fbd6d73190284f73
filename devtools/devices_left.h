// Whether any device the system still lists, present or not, passes a
// test: what decides that a driver package or a service is still used.
#pragma once

#include "platform/platform.h"

#include <setupapi.h>

typedef bool (*DeviceTest)(HDEVINFO set, SP_DEVINFO_DATA* device, const char* name);

// True when a listed device passes `test` for `name`; also true when the
// devices cannot be listed, so that nothing in use is taken away.
bool AnyDeviceLeft(DeviceTest test, const char* name);
