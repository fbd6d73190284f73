// Whether a registry key holds an uninstall description at all.
#pragma once

#include "platform/platform.h"

// True when the key holds at least one of a description's values or list
// subkeys (names compared without regard to case).
bool HoldsDescription(HKEY key);
