// Whether anyone can see this process's windows. A service, or a program
// the system account runs in session 0 (as deployment tools do), has a
// window station no one sees: a box shown there waits for ever, and the
// tool that started the run waits with it.
#pragma once

#include "platform/platform.h"
#include "system/message_box.h"

// MessageBoxA where someone can see it; where no one can, no box is shown,
// the run log says which, and the answer is 0 (no answer, as for a box that
// could not be shown).
int ShowBoxIfSeen(const char* text, const char* caption, UINT style);
