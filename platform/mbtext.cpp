// Double-byte-aware text routines on top of IsDBCSLeadByte.
#include "platform/mbtext.h"

const char* MbNext(const char* text) {
    if (IsDBCSLeadByte((BYTE)*text) && text[1]) return text + 2;
    return text + 1;
}

const char* MbFind(const char* text, const char* wanted) {
    size_t length = strlen(wanted);
    for (; *text; text = MbNext(text))
        if (strncmp(text, wanted, length) == 0) return text;
    return length == 0 ? text : nullptr;
}

const char* MbFindChar(const char* text, char c) {
    for (; *text; text = MbNext(text))
        if (*text == c) return text;
    return nullptr;
}

char* MbToken(char* text, char separator, char** state) {
    char* p = text ? text : *state;
    if (!p) return nullptr;
    while (*p == separator) ++p;
    if (!*p) {
        *state = p;
        return nullptr;
    }
    char* start = p;
    while (*p && *p != separator) p = (char*)MbNext(p);
    if (*p) *p++ = 0;
    *state = p;
    return start;
}

void MbReplaceChar(char* text, char from, char to) {
    for (; *text; text = (char*)MbNext(text))
        if (*text == from) *text = to;
}

bool MbCopy(char* out, size_t size, const char* in) {
    size_t used = 0;
    while (*in) {
        size_t step = (size_t)(MbNext(in) - in);
        if (used + step > size - 1) break;
        memcpy(out + used, in, step);
        used += step;
        in += step;
    }
    out[used] = 0;
    return *in == 0;
}

const char* MbFindLastChar(const char* text, char c) {
    const char* last = nullptr;
    for (const char* found = MbFindChar(text, c); found; found = MbFindChar(found + 1, c))
        last = found;
    return last;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

const char* MbAfterPrefixNoCase(const char* text, const char* prefix) {
    while (*prefix) {
        size_t step = (size_t)(MbNext(prefix) - prefix);
        if ((size_t)(MbNext(text) - text) != step) return nullptr;
        if (step == 1 ? FoldAscii(*text) != FoldAscii(*prefix) : memcmp(text, prefix, step) != 0)
            return nullptr;
        text += step;
        prefix += step;
    }
    return text;
}

bool MbSameNoCase(const char* a, const char* b) {
    const char* rest = MbAfterPrefixNoCase(a, b);
    return rest && *rest == 0;
}
