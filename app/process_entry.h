// The process's own entry point on Windows (no MinGW start-up code).
#pragma once

extern "C" void WinMainCRTStartup(void);
