// Which services are Windows' own: the judgment the key rules
// (protected_keys.h) and the device tools share before a service's key is
// deleted or the service stopped.
#pragma once

#include "platform/platform.h"

// Room for "SYSTEM\<control set>\Services\<name>" and a terminator.
#define TAVK_SERVICE_PATH_SIZE 320

// Why the service `name` under SYSTEM\CurrentControlSet\Services is Windows'
// own, or null. A service runs in a shared process when its Type says so or
// its program is a shared host (svchost.exe and the like); it is Windows'
// own when its program is a Windows-owned file; a key with neither Type nor
// ImagePath is no service but Windows' settings (Windows 9x keeps many such
// there). A service with no key is not protected here.
const char* ServiceRefusal(const char* name);

// As ServiceRefusal, for the services key at `services_path` below
// HKEY_LOCAL_MACHINE ("SYSTEM\ControlSet001\Services").
const char* ServiceRefusalIn(const char* services_path, const char* name);

// Why the Windows 9x VxD entry `name` under `services_path`\VxD is Windows'
// own, or null: its StaticVxD is built into Windows ("*NAME"), missing, or a
// Windows-owned file.
const char* VxdRefusalIn(const char* services_path, const char* name);

// The file a service's ImagePath runs, as a full path, read as the service
// manager reads it: a REG_EXPAND_SZ's variables expanded (`type`), quotes
// and the arguments after the program dropped, "\??\" and "\SystemRoot\"
// resolved, and a relative path taken from the Windows directory. A
// program that is not there ends after its ".exe". False when it does not
// fit `size`.
bool ServiceProgramPath(const char* image_path, DWORD type, char* out, size_t size);

// The program of the service `name` under `services_path` (below
// HKEY_LOCAL_MACHINE), as ServiceProgramPath gives it; a kernel driver
// without ImagePath runs System32\drivers\<name>.sys. False when there is
// no such service, it names no program, or its program does not fit.
bool ServiceProgramIn(const char* services_path, const char* name, char* out, size_t size);
