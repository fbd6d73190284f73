// The driver packages of the adapter, as OEM INF files of the INF folder:
// those the removed devices used, noted before each device goes, and every
// other "oem*.inf" whose models name one of the request's hardware ids (an
// earlier installation, or an adapter never plugged in). Each one that no
// device uses any more is uninstalled, so that the package also leaves the
// driver store and Windows does not install it again.
#pragma once

#include "devtools/tool_request.h"
#include "devtools/tool_result.h"
#include "platform/platform.h"

#include <setupapi.h>

#define MAX_NOTED_INFS 32
#define INF_NAME_SIZE 260

struct InfNotes {
    int count;
    char names[MAX_NOTED_INFS][INF_NAME_SIZE];
};

// Notes the device's driver INF when it is an "oem*.inf".
void NoteDriverInf(HDEVINFO set, SP_DEVINFO_DATA* device, InfNotes* notes);

// Notes the INF folder's "oem*.inf" files whose models name a requested id.
void NoteMatchingInfs(const DeviceRequest& request, InfNotes* notes);

// Uninstalls each noted INF that no device (present or not) still uses;
// a refusal is a failure.
void UninstallUnusedInfs(const InfNotes& notes, ToolOutcome* outcome);
