// Finding the program that CreateProcessA starts for a command line given
// without an application name, so that the program can be judged where it
// really is and then started by that very path.
#pragma once

#include "platform/platform.h"

// The program's full path into `found` (PATH_BUFFER_SIZE bytes), and in
// `arguments` where the text after the program's name begins (at its
// blank, or after the closing quote). CreateProcessA's documented search:
// a quoted name whole, otherwise each blank ends a candidate, shortest
// first; ".exe" goes after a name without an extension; a name that is not
// given from a root or the current folder is looked for in this program's
// folder, the current folder, the system folder, the 16-bit system folder,
// the Windows folder and then each folder of PATH. False when no file is
// found: CreateProcessA would start nothing.
bool FindProgramOfCommand(const char* command, char* found, const char** arguments);
