// Reading the words of a command line: the blanks between them, a word up
// to where it stops, and a value that may stand between double quotes.
#pragma once

#include "platform/platform.h"

// Space and tab, which part the words of a command line.
bool IsCommandBlank(char c);

// Copies the text at `p` up to the first of the single-byte `stops` or the
// terminator, stepping by whole characters, and leaves `p` there. False
// when the text does not fit `size` (a cut word would be another word).
bool CopyWord(const char*& p, const char* stops, char* out, size_t size);

// The text between double quotes when `p` starts with one (up to the
// terminator when the closing one is missing; `p` moves past it), else
// as CopyWord reads it.
bool CopyQuotableWord(const char*& p, const char* stops, char* out, size_t size);
