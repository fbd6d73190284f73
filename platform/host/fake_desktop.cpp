// The desktop window and the common controls' registration: what is left
// of user32 and comctl32 below the program's own seams.
#include "fake_world.h"

#include <stdio.h>

HWND GetDesktopWindow(void) {
    fake::LogCall("GetDesktopWindow", "");
    return fake::InjectedFailure("GetDesktopWindow", "") ? nullptr : (HWND)(ULONG_PTR)0x10010;
}

void InitCommonControls(void) { fake::LogCall("InitCommonControls", ""); }

// The classes asked for, as "ICC=0x20"; a record of the wrong size fails.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    char subject[32];
    snprintf(subject, sizeof subject, "ICC=0x%lx", init ? (unsigned long)init->dwICC : 0ul);
    fake::LogCall("InitCommonControlsEx", subject);
    DWORD error = fake::InjectedFailure("InitCommonControlsEx", subject);
    if (!error && (!init || init->dwSize != sizeof *init)) error = ERROR_INVALID_PARAMETER;
    if (error) SetLastError(error);
    return error == 0;
}
