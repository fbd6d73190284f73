// The one seam between the program and the system. On Windows it is the real
// Win32 API and nothing more; on the host it is the fake world in
// platform/host, declared with the same names, types and status codes, so
// that the subsystems compile unchanged against either.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>
#include <sfc.h>
#include <tlhelp32.h>
#include "platform/win32/vista_file_info.h"
#include "platform/win32/abi_guards.h"
#else
#include "host/win32_api.h"
#endif

#include <stdlib.h>
#include <string.h>
#include <stdint.h>
