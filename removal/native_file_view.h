// The system folder as it really is. On 64-bit Windows a 32-bit program
// that names the system folder is sent to SysWOW64, while the adapter's
// 64-bit drivers lie in the real system folder's "drivers".
#pragma once

#include "platform/platform.h"

struct NativeFileView {
    bool turned_off;
    void* previous;
};

// Turns the redirection off for this thread when `path` lies in the system
// folder's "drivers" folder and the system redirects it; elsewhere, and on a
// Windows without redirection (before XP), it changes nothing. Every view is
// given back with LeaveNativeView, before anything else is done.
NativeFileView EnterNativeViewFor(const char* path);
void LeaveNativeView(const NativeFileView& view);
