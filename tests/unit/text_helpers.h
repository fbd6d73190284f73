// Small text helpers for the tests: UTF-8 to UTF-16 and taking ownership of
// the malloc'ed texts that the message functions return.
#pragma once

#include <stdlib.h>
#include <string>

#include "platform/platform.h"

// Decodes UTF-8 (as the resource sources and these tests are written).
inline std::u16string U16(const std::string& utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = (unsigned char)utf8[i];
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t code = extra ? (c & (0x3F >> extra)) : c;
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k) code = code << 6 | (utf8[i + k] & 0x3F);
        i += 1 + extra;
        if (code >= 0x10000) {
            out += (char16_t)(0xD800 + ((code - 0x10000) >> 10));
            out += (char16_t)(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += (char16_t)code;
        }
    }
    return out;
}

// Frees a returned UTF-16 text; "<none>" stands for a null result.
inline std::u16string TakeW(WCHAR* text) {
    if (!text) return u"<none>";
    std::u16string out;
    for (const WCHAR* p = text; *p; ++p) out += (char16_t)*p;
    free(text);
    return out;
}

inline std::string Take(char* text) {
    if (!text) return "<none>";
    std::string out = text;
    free(text);
    return out;
}

// UTF-16 as printable ASCII for failure messages.
inline std::string Show(const std::u16string& text) {
    std::string out;
    char hex[8];
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += (char)c;
        } else {
            snprintf(hex, sizeof hex, "\\u%04X", (unsigned)c);
            out += hex;
        }
    }
    return out;
}
