// The device-manager tool's contract: the request this program writes for
// it and the result it writes back, both in the Windows directory.
#pragma once

#include "removal/device_request.h"
#include "removal/device_tool_result.h"
