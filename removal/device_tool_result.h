// The result the device-manager tool writes back, as uninst.exe reads it.
#pragma once

#include "platform/platform.h"
#include "platform/text_file.h"

#define DEVICE_RESULT_LINE_SIZE 256  // 255 characters and the terminator
#define DEVICE_TOOL_DEFAULT_TAG "DevMgr remove"
#define DEVICE_TOOL_RESTART "restart"

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
