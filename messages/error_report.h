// The last failure (module tag and code) and its report to the user.
#pragma once

#include "platform/platform.h"

#define ERROR_MODULE_TAG "TAVK"
#define ERROR_MODULE_TAG_MAX 254

struct ErrorStateRecord {
    char module_tag[ERROR_MODULE_TAG_MAX + 1];
    int32_t code;
};

extern ErrorStateRecord ErrorState;

// Records who failed; the tag is cut to its 254 characters.
void SetErrorState(const char* module_tag, int32_t code);

// Reports the current ErrorState. The diagnostic (a printf-style text naming
// the failure) goes to the debugger and the run log, never on screen.
void ReportError(const char* diagnostic, ...);

// Records a failure of the program's own ("TAVK") and reports it.
void ReportTavkError(int32_t code, const char* diagnostic, ...);
