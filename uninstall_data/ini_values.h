// The INI loader's own value rules: comma lists and numbers.
#pragma once

#include "uninstall_data/uninstall_data.h"

// A fixed list of `capacity` entries of `width` characters (terminator not
// counted) with its count, in a cleared record.
struct CommaList {
    char* entries;
    int32_t* count;
    int capacity;
    size_t width;
};

enum ListEnd {
    ListAtTextEnd,   // the last entry ends where the text does
    ListEntryCut,    // the last entry was cut at `width`, the rest ignored
    ListFull,        // `capacity` entries ended by commas, the rest ignored
};

// Splits `text` at each "," into the list, empty pieces kept, nothing
// trimmed. After `capacity` pieces the rest is ignored; a piece longer than
// `width` is cut there and the rest ignored.
ListEnd SplitCommaList(const char* text, const CommaList& list);

// A number written in an INI file, converted as strtoul does in base 10:
// blanks skipped, an optional sign, digits up to the first other character;
// a minus negates modulo 2^32 and a value too large gives 4294967295.
uint32_t IniNumber(const char* text);
