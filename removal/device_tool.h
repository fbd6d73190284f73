// The device-manager tool's contract: the request this program writes for
// it and the result it writes back, both in the Windows directory.
#pragma once

#include "platform/platform.h"
#include "platform/text_file.h"
#include "uninstall_data/uninstall_data.h"

#define DEVICE_TOOL_NAME "XLNWL"
#define DEVICE_REQUEST_FILE "\\" DEVICE_TOOL_NAME ".dms"
#define DEVICE_RESULT_LINE_SIZE 256  // 255 characters and the terminator
#define DEVICE_TOOL_DEFAULT_TAG "DevMgr remove"
#define DEVICE_TOOL_RESTART "restart"

// The tool's variant suffix for the description's driver model on this
// family of Windows, or null when the device step does not act.
const char* DeviceToolVariant(int32_t driver_model, DWORD family);

// The request's lines: classes by order 3 down to 0, the service, the
// descriptions, the hardware ids and, with an open run log, its path.
// Each line also goes to the run log; a null file (a preview) writes only there.
void WriteDeviceRequest(TextFile* file, const UninstallData& data);

struct DeviceToolResult {
    int32_t status;  // negative: the removal failed
    char tag[DEVICE_RESULT_LINE_SIZE];
    int32_t code;
    bool restart;  // a fourth line "restart": the removal completes at the next start
};

// Reads the result's lines; false when even the first is missing.
bool ReadDeviceToolResult(TextFile* file, DeviceToolResult* result);

// The result's numbers as the C run-time's atoi and 32-bit strtoul read them,
// the same on every host.
int32_t ParseStatus(const char* text);
int32_t ParseCode(const char* text);
