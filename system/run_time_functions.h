// Finding at run time the functions some Windows versions lack. They are
// never imported, so the program still loads where they are missing; the
// caller's pointer type is the SDK's own declaration (decltype(&::Name)).
#pragma once

#include "platform/platform.h"
#include "system/library_calls.h"

// `name` in `module`, cast through a plain function pointer as GetProcAddress
// gives it; null when the module or the function is absent.
template <typename Function>
bool FindFunction(HMODULE module, const char* name, Function* function) {
    *function = module ? (Function)(void (*)(void))EntryPoint(module, name) : nullptr;
    return *function != nullptr;
}

// `name` in the library `module_name` the process has already loaded; null
// when that library is not loaded or lacks the function.
template <typename Function>
Function LoadedFunction(const char* module_name, const char* name) {
    Function function;
    FindFunction(LoadedLibrary(module_name), name, &function);
    return function;
}

// Fills `table`, a record of function pointers and nothing else, from
// `names`: one name per member in the record's order, each ending with its
// zero. One call site for a whole group of functions. False when `module`
// is absent or lacks any of them; the members not found are then null.
bool FindFunctions(HMODULE module, const char* names, void* table, size_t size);
