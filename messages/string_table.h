// The language chain and the string tables carried in the module.
#pragma once

#include "platform/platform.h"

// The message as UTF-16 from the language chain, as written.
WCHAR* FindLocalizedStringW(HMODULE module, UINT id, LANGID* language = nullptr);
// The string-table entry of one message in one language.
WCHAR* LoadStringTableEntry(HMODULE module, UINT id, LANGID language);
