// The request uninst.exe writes for the device-manager tool, in the
// Windows directory, and the tool variant that takes it.
#pragma once

#include "platform/platform.h"
#include "platform/text_file.h"
#include "uninstall_data/uninstall_data.h"

#define DEVICE_TOOL_NAME "XLNWL"
#define DEVICE_REQUEST_FILE "\\" DEVICE_TOOL_NAME ".dms"

// The tool's variant suffix for the description's driver model on this
// family of Windows, or null when the device step does not act.
const char* DeviceToolVariant(int32_t driver_model, DWORD family);

// The request's lines: classes by order 3 down to 0, the service, the
// descriptions, the hardware ids and, with an open run log, its path.
// Each line also goes to the run log; a null file (a preview) writes only there.
void WriteDeviceRequest(TextFile* file, const UninstallData& data);
