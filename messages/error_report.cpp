// Recording and reporting failures.
#include "messages/error_report.h"

#include <stdarg.h>

#include "app/run_mode.h"

ErrorStateRecord ErrorState;

void SetErrorState(const char* module_tag, int32_t code) {
    lstrcpynA(ErrorState.module_tag, module_tag, sizeof ErrorState.module_tag);
    ErrorState.code = code;
}

static void ReportErrorV(const char* diagnostic, va_list args) {
    char text[1024];
    wvsprintfA(text, diagnostic, args);
    OutputDebugStringA(text);
    if (RunMode == Silent) return;
    // The warning box arrives with the localised messages.
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
