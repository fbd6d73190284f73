// The OEM INF files of the removed devices' drivers: noted before each
// device goes, uninstalled once no device is left that uses them, so that
// the driver package also leaves the driver store and Windows does not
// install it again when the adapter comes back.
#pragma once

#include "platform/platform.h"

#include <setupapi.h>

#define MAX_NOTED_INFS 16
#define INF_NAME_SIZE 260

struct InfNotes {
    int count;
    char names[MAX_NOTED_INFS][INF_NAME_SIZE];
};

// Notes the device's driver INF when it is an "oem*.inf".
void NoteDriverInf(HDEVINFO set, SP_DEVINFO_DATA* device, InfNotes* notes);

// Uninstalls each noted INF that no device (present or not) still uses.
void UninstallUnusedInfs(const InfNotes& notes);
