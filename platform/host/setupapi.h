// The host's stand-in for <setupapi.h>: the device list's types, which the
// device tools' own seam names, and uninstalling an OEM INF.
#pragma once

#include "win32_api.h"

typedef void* HDEVINFO;
typedef const char* PCSTR;

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};

struct SP_DEVINFO_DATA {
    DWORD cbSize;
    GUID ClassGuid;
    DWORD DevInst;
    ULONG_PTR Reserved;
};
typedef SP_DEVINFO_DATA* PSP_DEVINFO_DATA;

BOOL SetupUninstallOEMInfA(PCSTR inf_file_name, DWORD flags, PVOID reserved);
