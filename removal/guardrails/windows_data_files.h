// Windows' own data files, known by where they lie and what they are
// called: no version resource marks them, so a file of this kind in
// Windows' folders is Windows' whoever names it.
#pragma once

#include "platform/platform.h"

// True when `name` in `folder` (full forms, without a trailing backslash)
// is one of Windows' own data files, given the Windows folder's and the
// system folder's full forms. Letters compare in either case.
bool IsWindowsDataFile(const char* windows_form, const char* system_form, const char* folder,
                       const char* name);
