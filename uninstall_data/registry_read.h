// Reading single values and splitting list data for the registry loader.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Reads a text value into a field of `capacity` bytes. A value that is
// missing, too long or not terminated within its data leaves the field empty.
void ReadTextValue(HKEY key, const char* name, char* field, DWORD capacity);

// True when the value exists, whatever its type and data.
bool ValuePresent(HKEY key, const char* name);

// True when `size` bytes of `data` hold a terminating zero.
bool HasTerminator(const char* data, DWORD size);

// Status of a loader step: 0 go on, otherwise the loader's result.
typedef int LoadStatus;

// Records a "TAVK" failure, reports it and gives the loader's result 1.
LoadStatus LoadFailure(int32_t code, const char* diagnostic);

// Closes a list's subkey; a failed close fails a load that had succeeded,
// while a load that had already failed keeps its own report.
LoadStatus CloseListKey(HKEY key, LoadStatus status, int32_t code, const char* diagnostic);

// Opens a list's subkey (a missing one is an empty list), reads it with
// `read` and closes it on every path.
typedef LoadStatus (*ListReader)(HKEY list, UninstallData& data);
LoadStatus ReadList(HKEY description, const char* subkey, ListReader read, UninstallData& data,
                    int32_t close_code, const char* close_text);

// Appends each ";"-separated piece of `data` to a fixed list of `capacity`
// entries of `width` characters. Fails with `full_code` when the list is
// full and with `long_code` when a piece is too long.
struct TextList {
    char* entries;
    int32_t* count;
    int capacity;
    size_t width;  // characters, terminator not counted
    int32_t full_code;
    const char* full_text;
    int32_t long_code;
    const char* long_text;
};
LoadStatus AppendPieces(char* data, const TextList& list);
