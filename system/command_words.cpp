// Reading the words of a command line, shared by the options, the cleanup
// copy's hand-over and the device tools' "remove".
#include "system/command_words.h"

#include "platform/mbtext.h"

bool IsCommandBlank(char c) { return c == ' ' || c == '\t'; }

bool CopyWord(const char*& p, const char* stops, char* out, size_t size) {
    const char* start = p;
    while (*p && !strchr(stops, *p)) p = MbNext(p);
    size_t length = (size_t)(p - start);
    if (length >= size) return false;
    memcpy(out, start, length);
    out[length] = 0;
    return true;
}

bool CopyQuotableWord(const char*& p, const char* stops, char* out, size_t size) {
    if (*p != '"') return CopyWord(p, stops, out, size);
    ++p;
    bool fits = CopyWord(p, "\"", out, size);
    if (*p == '"') ++p;
    return fits;
}
