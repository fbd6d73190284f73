// The Service Control Manager (advapi32, NT family): the handle and the
// errors of the device tools' seam, whose calls a stand-in takes on the host.
#pragma once

#include "win32_types.h"

struct SC_HANDLE__;
typedef SC_HANDLE__* SC_HANDLE;

#define ERROR_SERVICE_DOES_NOT_EXIST 1060L
#define ERROR_SERVICE_NOT_ACTIVE 1062L
#define ERROR_SERVICE_MARKED_FOR_DELETE 1072L
