// The program's WinMain and the mode words it takes.
#pragma once

#include "platform/platform.h"

// Mode words, matched case-insensitively as prefixes of the tail.
enum ModeWord { ModeNone, ModeVerbose, ModeQuiet, ModeSilent, ModeInstall, ModeServices };
ModeWord MatchModeWord(const char* tail);

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show);
