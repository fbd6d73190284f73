// A message box of two localised messages: the administrator warning and
// the confirmation share it, so both read the way their text's language does.
#include "messages/localized_box.h"
#include "messages/localized_string.h"
#include "messages/reading_order.h"
#include "system/interactive_session.h"

int ShowLocalizedBox(UINT text_id, UINT caption_id, UINT style) {
    LANGID language = 0;
    char* text = LocalizedString(nullptr, text_id, &language);
    char* caption = LocalizedString(nullptr, caption_id);
    int answer = -1;
    if (text && caption)
        answer = ShowBoxIfSeen(text, caption, style | MessageBoxReadingFlags(language));
    free(text);
    free(caption);
    return answer;
}
