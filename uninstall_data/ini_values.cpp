// Turning INI texts into numbers and lists. The conversion is written out
// rather than taken from the run-time: an unsigned long is 64 bits on the
// host, and the 32-bit wrap and limit are part of the format.
#include "uninstall_data/ini_values.h"

#include "platform/mbtext.h"

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Writes one more character (one or two bytes) to the entry in progress.
void Append(char* entry, size_t* length, const char* from, size_t bytes) {
    memcpy(entry + *length, from, bytes);
    *length += bytes;
    entry[*length] = 0;
}

}  // namespace

uint32_t IniNumber(const char* text) {
    while (IsBlank(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (uint64_t)(*text - '0');
        if (value > UINT32_MAX) return UINT32_MAX;
    }
    return negative ? (uint32_t)(0 - (uint32_t)value) : (uint32_t)value;
}

// A piece of exactly `width` characters followed by a comma or the end is
// whole and keeps the pieces after it; only a longer one is cut.
ListEnd SplitCommaList(const char* text, const CommaList& list) {
    int index = 0;
    size_t length = 0;
    char* entry = list.entries;
    for (const char* p = text; *p;) {
        if (*p == ',') {
            if (++index == list.capacity) {
                *list.count = list.capacity;
                return ListFull;
            }
            entry = list.entries + index * (list.width + 1);
            length = 0;
            ++p;
            continue;
        }
        const char* next = MbNext(p);
        if (length + (size_t)(next - p) > list.width) {
            *list.count = index + 1;
            return ListEntryCut;
        }
        Append(entry, &length, p, (size_t)(next - p));
        p = next;
    }
    *list.count = index + 1;
    return ListAtTextEnd;
}
