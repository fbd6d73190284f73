// The calls on Windows' own libraries: loading one by its full path,
// giving it back, finding an entry point in it, and the handle of one the
// process has already loaded. The unit tests put a stand-in behind this
// header that offers the entry points the program looks up; the Wine
// scenarios use the real libraries.
#pragma once

#include "platform/platform.h"

// Null when it cannot be loaded.
HMODULE LoadLibraryAt(const char* path);
void FreeSystemLibrary(HMODULE module);

// GetProcAddress's answer: null when the module lacks the function.
FARPROC EntryPoint(HMODULE module, const char* name);

// Null when the process has not loaded a library of that name.
HMODULE LoadedLibrary(const char* name);
