// The Service Control Manager's calls behind a driver service's removal:
// the manager and the service opened, its state asked, a stop asked for,
// the service marked for deletion, each handle closed. The unit tests put
// a stand-in behind this header; the Wine scenarios remove real services.
#pragma once

#include "platform/platform.h"

// The manager with the rights the removal needs; null with the last error.
SC_HANDLE OpenManagerForRemoval();
// The service with the rights to stop, query and delete it; null with the
// last error (ERROR_SERVICE_DOES_NOT_EXIST for one the manager lacks).
SC_HANDLE OpenServiceForRemoval(SC_HANDLE manager, const char* name);

bool ServiceIsStopped(SC_HANDLE service);
// False with the last error (ERROR_SERVICE_NOT_ACTIVE: it is not running).
bool AskServiceToStop(SC_HANDLE service);
// It leaves once stopped and its last handle closed; false with the last
// error (ERROR_SERVICE_MARKED_FOR_DELETE: marked already).
bool MarkServiceForDeletion(SC_HANDLE service);

void CloseServiceManagerHandle(SC_HANDLE handle);
