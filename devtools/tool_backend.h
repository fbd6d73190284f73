// What each device-manager tool supplies to the shared entry point: its
// tag, the hand-over to another build of itself, and the removal itself.
#pragma once

#include "devtools/tool_request.h"
#include "devtools/tool_result.h"

// The tool's name, written as the result's module tag.
extern const char kToolTag[];

// Whether another build of the tool takes the request (the x86-64 build on
// 64-bit Windows, where a 32-bit process cannot remove devices).
enum HandOver {
    kRunHere,         // this process removes
    kHandedOver,      // the other build wrote the result
    kHandOverFailed,  // `outcome` holds the failure, to be written here
};
HandOver HandRequestOver(ToolOutcome* outcome);

// Removes what the request names and says what came of it.
void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome);
