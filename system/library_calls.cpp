// The calls on Windows' own libraries, made of kernel32.
#include "system/library_calls.h"

HMODULE LoadLibraryAt(const char* path) { return LoadLibraryA(path); }

void FreeSystemLibrary(HMODULE module) { FreeLibrary(module); }

FARPROC EntryPoint(HMODULE module, const char* name) { return GetProcAddress(module, name); }

HMODULE LoadedLibrary(const char* name) { return GetModuleHandleA(name); }
