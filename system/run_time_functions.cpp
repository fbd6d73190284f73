// Finding a group of functions at run time from one list of names.
#include "system/run_time_functions.h"

bool FindFunctions(HMODULE module, const char* names, void* table, size_t size) {
    memset(table, 0, size);
    if (!module) return false;
    for (size_t at = 0; at + sizeof(FARPROC) <= size; at += sizeof(FARPROC)) {
        FARPROC found = EntryPoint(module, names);
        if (!found) return false;
        memcpy((char*)table + at, &found, sizeof found);  // every member is a function pointer
        names += strlen(names) + 1;
    }
    return true;
}
