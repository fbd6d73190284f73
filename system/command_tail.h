// The command-line tail that WinMain receives.
#pragma once

// Skips the program's name (quoted or not) and the blanks behind it, as the
// run-time's start-up code does before it calls WinMain.
char* CommandLineTail(char* line);

// The same for a line that is only read.
inline const char* CommandLineTail(const char* line) { return CommandLineTail((char*)line); }
