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

// While one lives, the redirection's entry point and the system folder
// are asked once, not at each file.
struct RememberNativeView {
    RememberNativeView();
    ~RememberNativeView();
};

enum RedirectedPath {
    PathNotRedirected,   // the program's calls for the path reach it as named
    PathRedirected,      // they reach the SysWOW64 path written out
    PathNotFound,        // they are redirected, but where cannot be had
};

// Where this 32-bit program's file calls for `path` really land on 64-bit
// Windows: a path in the system folder, outside "drivers" (which the
// program sees natively) and the folders WOW64 leaves alone, is SysWOW64's.
// A 32-bit Windows, or a 64-bit program, redirects nothing.
RedirectedPath Wow64RedirectedPath(const char* path, char* out, size_t size);
