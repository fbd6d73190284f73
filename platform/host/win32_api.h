// The host's stand-in for <windows.h>: Win32 types, constants and the
// functions the program calls, each served by the fake world.
#pragma once

#include "win32_types.h"
#include "registry_api.h"
#include "own_process_api.h"
#include "windows_version_api.h"
#include "text_api.h"
#include "started_programs_api.h"
#include "window_api.h"
#include "directories_api.h"
#include "shell_api.h"
#include "file_system_api.h"
#include "profile_api.h"
#include "file_handles_api.h"
#include "security_api.h"
#include "clock_api.h"
#include "shutdown_api.h"
#include "file_version_api.h"
#include "services_api.h"
