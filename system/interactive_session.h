// Whether anyone can see this process's windows. A service, or a program
// the system account runs in session 0 (as deployment tools do), has a
// window station no one sees: a box shown there waits for ever, and the
// tool that started the run waits with it.
#pragma once

#include "platform/platform.h"

// False only when Windows says the process's window station is not the
// visible one. Windows 9x has no window stations: there someone always can.
bool SomeoneCanSeeBoxes();

// MessageBoxA where someone can see it; where no one can, no box is shown,
// the run log says which, and the answer is 0 (no answer, as for a box that
// could not be shown).
int ShowBoxIfSeen(const char* text, const char* caption, UINT style);
