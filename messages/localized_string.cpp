// A message made ready to show: the product's full name put in place of
// "%OEM_FULL_PRODUCT_NAME%", and the text converted to the ANSI code page.
#include "messages/localized_string.h"

#include "system/ansi_text.h"

namespace {

// The placeholder without its closing '%': 22 code units.
const char kPlaceholder[] = "%OEM_FULL_PRODUCT_NAME";
const size_t kPlaceholderLength = sizeof kPlaceholder - 1;

size_t WideLength(const WCHAR* text) {
    size_t length = 0;
    while (text[length]) ++length;
    return length;
}

bool IsPlaceholderAt(const WCHAR* text) {
    for (size_t i = 0; i < kPlaceholderLength; ++i)
        if (text[i] != (WCHAR)kPlaceholder[i]) return false;
    return true;
}

struct Output {
    WCHAR* text;
    size_t capacity;  // code units
    size_t length;
};

// Writes the product name at `at` (over the placeholder's copied units);
// false when the name is missing or the buffer cannot grow.
bool PutProductName(HMODULE module, Output* out, size_t at) {
    WCHAR* name = FindLocalizedStringW(module, PRODUCT_NAME_MESSAGE_ID);
    if (!name) return false;
    size_t name_length = WideLength(name);
    size_t capacity = out->capacity + name_length + 1;
    WCHAR* grown = (WCHAR*)realloc(out->text, capacity * sizeof(WCHAR));
    if (grown) {
        out->text = grown;
        out->capacity = capacity;
        memcpy(out->text + at, name, name_length * sizeof(WCHAR));
        out->length = at + name_length;
    }
    free(name);
    return grown != nullptr;
}

// Copies `s` into `out` with every placeholder replaced; false when a
// replacement could not be made.
bool Substitute(HMODULE module, const WCHAR* s, Output* out) {
    bool open = false;
    size_t open_in = 0, open_out = 0;
    for (size_t i = 0; s[i]; ++i) {
        if (s[i] == '%' && open && i - open_in == kPlaceholderLength && IsPlaceholderAt(s + open_in)) {
            if (!PutProductName(module, out, open_out)) return false;
            open = false;
            continue;
        }
        if (s[i] == '%') {
            open = true;
            open_in = i;
            open_out = out->length;
        }
        out->text[out->length++] = s[i];
    }
    out->text[out->length] = 0;
    return true;
}

}  // namespace

WCHAR* LocalizedStringW(HMODULE module, UINT id, LANGID* language) {
    WCHAR* s = FindLocalizedStringW(module, id, language);
    if (!s) return nullptr;
    Output out = {nullptr, WideLength(s) + 1, 0};
    out.text = (WCHAR*)malloc(out.capacity * sizeof(WCHAR));
    if (!out.text) return s;
    if (!Substitute(module, s, &out)) {
        free(out.text);
        return s;
    }
    free(s);
    return out.text;
}

char* LocalizedString(HMODULE module, UINT id, LANGID* language) {
    WCHAR* wide = LocalizedStringW(module, id, language);
    if (!wide) return nullptr;
    char* narrow = ToAnsiText(wide);
    free(wide);
    return narrow;
}
