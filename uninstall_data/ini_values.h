// The INI loader's own value rules: comma lists and the OEM INF search.
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

// Appends each OEM*.INF of the Windows INF folder whose [Strings]
// FullProductName equals the record's product name, followed by its PNF
// twin, to the installed files.
void AppendOemInfFiles(UninstallData& data);

// True when the file name (no folder) ends in ".inf", in any letter case.
bool HasInfExtension(const char* name);

// True when the INF's [Strings] FullProductName is `product` (case matters).
bool InfNamesProduct(const char* path, const char* product);

// Calls `visit` with the full path of each such OEM INF naming `product`,
// until it answers false.
void VisitProductOemInfs(const char* product, bool (*visit)(const char* path, void* context),
                         void* context);
