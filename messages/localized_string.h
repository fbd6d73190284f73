// Messages by id in the user's language: registry overrides first, then the
// string tables carried in the module, with the product's full name put in
// place of its placeholder. Every text returned is malloc'ed; the caller
// frees it. None is a null pointer.
#pragma once

#include "messages/string_override.h"
#include "messages/string_table.h"
#include "platform/platform.h"

#define FALLBACK_LANGUAGE_ID 0x0409
#define PRODUCT_NAME_MESSAGE_ID 25
#define LOCALIZED_STRINGS_KEY "SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings"

// The message in the ANSI code page, placeholder filled in. `language`, when
// given, receives the language of the table or override that gave the text.
char* LocalizedString(HMODULE module, UINT id, LANGID* language = nullptr);
// The message as UTF-16, placeholder filled in.
WCHAR* LocalizedStringW(HMODULE module, UINT id, LANGID* language = nullptr);
