// Whether a text names the product or its maker, as the description and
// this program know them: the evidence that an uninstall entry, a program
// or a shortcut is the product's and not another's.
#pragma once

#include "uninstall_data/uninstall_data.h"

// True when `text` holds one of the product's names: the description's
// full and short product names, or the product's full name in this
// program's messages. Letters A-Z match a-z; a double-byte character is
// one unit and must match exactly.
bool NamesTheProduct(const UninstallData& data, const char* text);

// True when `text` holds one of the maker's names (the description's full
// and short company names, or the vendor whose key holds the description),
// or is itself part of one ("XLN" for "XLN Communications"). Same rules.
bool NamesTheMaker(const UninstallData& data, const char* text);
// True when `text` holds one of the maker's names (only that way round:
// "xlnw11" holds "XLN"; "Tech" is part of a name but holds none).
bool HoldsMakersName(const UninstallData& data, const char* text);

// A short reason when the program at `path` (a full path) is not the
// product's: Windows' own, or its version resource names another maker.
// Null for the product's, and for a program that names no maker at all.
const char* OtherProgramReason(const UninstallData& data, const char* path);
