// Telling an interactive session from one no one sees, before any box.
#include "system/interactive_session.h"

#include "system/run_log.h"

int ShowBoxIfSeen(const char* text, const char* caption, UINT style) {
    if (SomeoneCanSeeBoxes()) return ShowMessageBox(text, caption, style);
    LogLine("box not shown, no one can see this session: %s: %s", caption ? caption : "",
            text ? text : "");
    return 0;
}
