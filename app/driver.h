// The entry point's helpers and the driver that runs the removal.
#pragma once

#include "platform/platform.h"

// Mode words, matched case-insensitively as prefixes of the tail.
enum ModeWord { ModeNone, ModeVerbose, ModeQuiet, ModeSilent, ModeInstall, ModeServices };
ModeWord MatchModeWord(const char* tail);

// Loads each description and removes what it names; returns the exit code.
int RunUninstall(HWND dialog);

// Once every description has run: the folders the runs emptied, the
// hand-over of what only a copy of this program can delete, and then the
// one restart question, when any run deferred a deletion. `result` is the
// runs' exit code so far.
void FinishRemoval(int result);

// The "services" word: only the service programs' removal switch.
int RunServicesMode();

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show);
