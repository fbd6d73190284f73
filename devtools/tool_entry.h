// The device-manager tools' own entry point (no MinGW start-up code).
#pragma once

extern "C" void WinMainCRTStartup(void);
