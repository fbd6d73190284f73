// The options that may stand anywhere on the command line beside the mode
// word: "/log=PATH", "/preview" and "/norestart" (in any letter case),
// looked for in the whole command line behind the program's name, and
// "/rootkey=PATH", which is read its own way.
#pragma once

#include "platform/platform.h"

// The path after "/log=": up to the first space, or between double quotes
// when it starts with one. False when the option is absent, its path empty,
// or too long for `size` (a cut path would name some other file).
bool LogPathOption(const char* command_line, char* path, size_t size);

// True when "/preview" stands on the command line as a word of its own.
bool PreviewOption(const char* command_line);

// True when "/norestart" stands on the command line as a word of its own.
bool NoRestartOption(const char* command_line);

// The description's key path after "/rootkey=". Unlike the options above,
// it is found anywhere in the whole command line, the program's name
// included and not only where a word begins; its value runs to the first
// space, quotes are part of it, and one too long for `size` is cut. The
// option has always been read that way: a command line that gives it must
// keep naming the key it named. False when it is absent.
bool RootKeyOption(const char* command_line, char* path, size_t size);
