// The language chain and the string tables carried in the module.
#include "messages/string_table.h"

#include "messages/localized_string.h"
#include "messages/module_resource.h"

namespace {

// Copies `count` code units into a new terminated string.
WCHAR* CopyUnits(const BYTE* units, DWORD count) {
    WCHAR* copy = (WCHAR*)malloc((count + 1) * sizeof(WCHAR));
    if (!copy) return nullptr;
    memcpy(copy, units, count * sizeof(WCHAR));
    copy[count] = 0;
    return copy;
}

// Reads a little-endian count whatever the block's alignment.
DWORD CountAt(const BYTE* at) { return at[0] | (DWORD)at[1] << 8; }

// Walks the 16 entries of a block; the resource's size bounds every read.
WCHAR* EntryInBlock(const BYTE* block, DWORD size, UINT position) {
    DWORD at = 0;
    for (UINT entry = 0; entry < 16 && at + 2 <= size; ++entry) {
        DWORD count = CountAt(block + at);
        at += 2;
        if (count * 2 > size - at) return nullptr;
        if (count != 0 && entry == position) return CopyUnits(block + at, count);
        at += count * 2;
    }
    return nullptr;
}

WCHAR* TryLanguage(HMODULE module, UINT id, LANGID language) {
    WCHAR* text = ReadLocalizedStringOverride(module, id, language);
    return text ? text : LoadStringTableEntry(module, id, language);
}

}  // namespace

WCHAR* LoadStringTableEntry(HMODULE module, UINT id, LANGID language) {
    if (id / 16 + 1 > 0xFFFF) return nullptr;  // beyond any block a resource name can hold
    DWORD size;
    const BYTE* block = FindModuleResource(module, RT_STRING, (WORD)(id / 16 + 1), language, &size);
    return block ? EntryInBlock(block, size, id % 16) : nullptr;
}

WCHAR* FindLocalizedStringW(HMODULE module, UINT id, LANGID* answered) {
    LANGID user = GetUserDefaultLangID();
    const LANGID chain[] = {user, (LANGID)((user & 0x3FF) | 0x400), FALLBACK_LANGUAGE_ID};
    for (LANGID language : chain) {
        WCHAR* text = TryLanguage(module, id, language);
        if (!text) continue;
        if (answered) *answered = language;
        return text;
    }
    return nullptr;
}
