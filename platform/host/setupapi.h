// The host's stand-in for <setupapi.h>: the device list the device tools
// walk (every device the system lists, present or not), a device's driver
// key, and uninstalling an OEM INF (setupapi.dll, from Windows XP on).
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

#define DIGCF_ALLCLASSES 0x00000004
#define DICS_FLAG_GLOBAL 0x00000001
#define DIREG_DRV 0x00000002

HDEVINFO SetupDiGetClassDevsA(const GUID* class_guid, PCSTR enumerator, HWND parent, DWORD flags);
BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA device);
BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set);
HKEY SetupDiOpenDevRegKey(HDEVINFO set, PSP_DEVINFO_DATA device, DWORD scope, DWORD profile,
                          DWORD key_type, REGSAM access);
BOOL SetupUninstallOEMInfA(PCSTR inf_file_name, DWORD flags, PVOID reserved);
