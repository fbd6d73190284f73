// The calls that end the Windows session for a restart: the shutdown
// privilege in the process token, then ExitWindowsEx. Kept apart from the
// decisions in restart.cpp, which the unit tests prove against a stand-in
// of this header; the Wine restart scenarios run the real calls.
#pragma once

#include "platform/platform.h"

// True when the process token now has the shutdown privilege enabled; the
// token is closed on every path.
bool EnableShutdownPrivilege();

// Asks Windows to restart; false, with the last error set, when refused.
bool RequestShutdown(UINT flags, DWORD reason);
