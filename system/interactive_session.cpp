// Telling an interactive session from one no one sees, before any box.
#include "system/interactive_session.h"

#include "system/run_log.h"
#include "system/run_time_functions.h"

bool SomeoneCanSeeBoxes() {
    // Found at run time: Windows 9x's user32 has neither.
    auto get_station = LoadedFunction<decltype(&::GetProcessWindowStation)>("user32.dll",
                                                                          "GetProcessWindowStation");
    auto get_information = LoadedFunction<decltype(&::GetUserObjectInformationA)>(
        "user32.dll", "GetUserObjectInformationA");
    if (!get_station || !get_information) return true;
    HWINSTA station = get_station();
    USEROBJECTFLAGS flags;
    DWORD needed = 0;
    // A station that cannot be asked is taken as seen, as before.
    if (!station || !get_information(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

int ShowBoxIfSeen(const char* text, const char* caption, UINT style) {
    if (SomeoneCanSeeBoxes()) return MessageBoxA(nullptr, text, caption, style);
    LogLine("box not shown, no one can see this session: %s: %s", caption ? caption : "",
            text ? text : "");
    return 0;
}
