// The devices of Windows 95, 98 and Me, which live in the registry only:
// HKLM\Enum\BUS\DEVICE-ID\INSTANCE, with a driver key under Services\Class.
// The registry part of the 9x tool.
#pragma once

#include "devtools/protocol_bindings_9x.h"
#include "devtools/tool_request.h"
#include "devtools/tool_result.h"

// Removes the instances the request names with their driver keys (and a
// device id's key left empty), noting the protocols each removed one
// bound. The instances are found first and removed after.
void RemoveEnumDevices(const DeviceRequest& request, ToolOutcome* outcome, BindingList* bindings);
