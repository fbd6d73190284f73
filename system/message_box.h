// The message box itself, and whether the session can be seen at all: the
// two calls behind every box the program shows. ShowBoxIfSeen decides
// between them; the unit tests put a stand-in behind this header, and the
// Wine box scenarios read the real boxes.
#pragma once

#include "platform/platform.h"

// MessageBoxA with no owner (the program has no main window): its answer,
// 0 when the box could not be shown.
int ShowMessageBox(const char* text, const char* caption, UINT style);

// False only when Windows says the process's window station is not the
// visible one. Windows 9x has no window stations: there someone always can.
bool SomeoneCanSeeBoxes();
