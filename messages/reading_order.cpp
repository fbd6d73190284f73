// The reading order of a message, from the language that gave its text.
#include "messages/reading_order.h"

namespace {

const LANGID kArabic = 0x01;
const LANGID kHebrew = 0x0D;

}  // namespace

bool IsRightToLeftLanguage(LANGID language) {
    LANGID primary = language & 0x3FF;
    return primary == kArabic || primary == kHebrew;
}

UINT MessageBoxReadingFlags(LANGID text_language) {
    return IsRightToLeftLanguage(text_language) ? MB_RTLREADING | MB_RIGHT : 0;
}
