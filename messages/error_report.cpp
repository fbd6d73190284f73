// Recording and reporting failures.
#include "messages/error_report.h"

#include <stdarg.h>

#include "system/interactive_session.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "messages/localized_string.h"
#include "messages/reading_order.h"

namespace {

const UINT kErrorTextId = 14;
const UINT kErrorCaptionId = 13;

// "<message 14> <tag><code>." built in full, however long the head or tag.
char* BuildErrorText(const char* head) {
    char code[16];
    int code_length = wsprintfA(code, "%d", (int)ErrorState.code);
    size_t head_length = strlen(head), tag_length = strlen(ErrorState.module_tag);
    char* text = (char*)malloc(head_length + 1 + tag_length + (size_t)code_length + 2);
    if (!text) return nullptr;
    char* p = text;
    memcpy(p, head, head_length);
    p += head_length;
    *p++ = ' ';
    memcpy(p, ErrorState.module_tag, tag_length);
    p += tag_length;
    memcpy(p, code, (size_t)code_length);
    p += code_length;
    *p++ = '.';
    *p = 0;
    return text;
}

// The warning box for the current ErrorState; nothing when a text is missing.
// An Arabic or Hebrew text reads right to left.
void ShowErrorBox() {
    LANGID language = 0;
    char* head = LocalizedString(nullptr, kErrorTextId, &language);
    char* caption = LocalizedString(nullptr, kErrorCaptionId);
    char* text = head && caption ? BuildErrorText(head) : nullptr;
    UINT style = MB_OK | MB_ICONWARNING | MessageBoxReadingFlags(language);
    if (text) ShowBoxIfSeen(text, caption, style);
    free(text);
    free(caption);
    free(head);
}

}  // namespace

ErrorStateRecord ErrorState;

void SetErrorState(const char* module_tag, int32_t code) {
    lstrcpynA(ErrorState.module_tag, module_tag, sizeof ErrorState.module_tag);
    ErrorState.code = code;
}

static void ReportErrorV(const char* diagnostic, va_list args) {
    char text[1024];
    wvsprintfA(text, diagnostic, args);
    OutputDebugStringA(text);
    LogFailure(ErrorState.module_tag, ErrorState.code, text);
    if (RunMode == Silent) return;
    ShowErrorBox();
}

void ReportError(const char* diagnostic, ...) {
    va_list args;
    va_start(args, diagnostic);
    ReportErrorV(diagnostic, args);
    va_end(args);
}

void ReportTavkError(int32_t code, const char* diagnostic, ...) {
    SetErrorState(ERROR_MODULE_TAG, code);
    va_list args;
    va_start(args, diagnostic);
    ReportErrorV(diagnostic, args);
    va_end(args);
}
