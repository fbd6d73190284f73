// The driver that runs the removal of each description.
#pragma once

#include "platform/platform.h"

// Loads each description and removes what it names; returns the exit code.
int RunUninstall(HWND dialog);

// Once every description has run: the folders the runs emptied, the
// hand-over of what only a copy of this program can delete, and then the
// one restart question, when any run deferred a deletion. `result` is the
// runs' exit code so far.
void FinishRemoval(int result);

// The "services" word: only the service programs' removal switch.
int RunServicesMode();
