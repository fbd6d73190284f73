// Stopping and deleting a driver service through the Service Control
// Manager (Windows NT 4 and later).
#pragma once

#include "devtools/tool_result.h"
#include "platform/platform.h"

enum ServiceFate {
    kServiceRemoved,  // deleted now or, once released, at the restart
    kServiceUnknown,  // the manager does not know it
    kServiceFailed,   // `outcome` holds the failure
    kServiceKept,     // Windows' own (protected_services.h): never stopped or deleted
};

// Stops the service (a bounded wait) and deletes it. An absent service is
// no failure; one that will not stop, or is deleted only once its last
// handle closes, completes at the restart.
ServiceFate RemoveDriverService(SC_HANDLE manager, const char* name, ToolOutcome* outcome);

// The manager with the rights the removal needs, or null (`outcome` then
// holds the failure).
SC_HANDLE OpenServiceManager(ToolOutcome* outcome);
