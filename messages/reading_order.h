// Which way a message reads. Arabic and Hebrew texts read right to left;
// the language of the table that gave the text decides, not the user's
// setting, so an English fallback shown to an Arabic user stays left to right.
#pragma once

#include "platform/platform.h"

bool IsRightToLeftLanguage(LANGID language);

// MB_RTLREADING | MB_RIGHT for a box whose text came in such a language, else 0.
UINT MessageBoxReadingFlags(LANGID text_language);
