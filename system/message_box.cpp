// The message box and the window station's visibility, asked of user32.
#include "system/message_box.h"

#include "system/run_time_functions.h"

int ShowMessageBox(const char* text, const char* caption, UINT style) {
    return MessageBoxA(nullptr, text, caption, style);
}

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
