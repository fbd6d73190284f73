// Text routines that treat a double-byte character of the ANSI code page as
// one unit, so that a trail byte is never taken for a separator or a match.
#pragma once

#include "platform/platform.h"

// The next character after `text` (which must not be at its terminator).
const char* MbNext(const char* text);

// The first occurrence of `wanted` in `text`, or null; starts only at
// character boundaries.
const char* MbFind(const char* text, const char* wanted);

// The first occurrence of the single-byte `c`, or null.
const char* MbFindChar(const char* text, char c);

// Splits like the run-time's _mbstok with one separator: separators at the
// ends are skipped, runs count as one, no piece is empty. Pass the text on the
// first call and null after; `state` keeps the position.
char* MbToken(char* text, char separator, char** state);

// Replaces every single-byte `from` by `to`.
void MbReplaceChar(char* text, char from, char to);

// Copies at most size - 1 bytes without splitting a double-byte character and
// terminates. Returns false when the text had to be cut.
bool MbCopy(char* out, size_t size, const char* in);

// The last occurrence of the single-byte `c`, or null.
const char* MbFindLastChar(const char* text, char c);

// The letters A-Z as a-z, every other byte as it is: the one letter-case
// rule of the program's comparisons (Windows' own names are ASCII).
char FoldAscii(char c);

// What follows `prefix` when `text` begins with it, letters A-Z taken as
// a-z; a double-byte character must match exactly. Null when it does not.
const char* MbAfterPrefixNoCase(const char* text, const char* prefix);

// Equal when the texts differ only in the letters A-Z against a-z; a
// double-byte character must match exactly.
bool MbSameNoCase(const char* a, const char* b);
