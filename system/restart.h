// The restart that completes deletions deferred to the next start of Windows.
#pragma once

#include "platform/platform.h"

// Asks the user whether Windows may restart now: true on OK. With
// "/norestart", or where no one can see the box, it does not ask: false.
// A preview must not come here: the removal asks through the gateway's
// AskWindowsRestart, which only records it then.
bool AskForRestart();

// Restarts Windows (programs that hang are forced to close; on NT 4 and
// Windows 9x every program is): true once the restart has been requested.
// ExitWindowsEx only begins it, so the process should end soon after.
bool RestartWindows();

// The question, then on OK the restart: true once it has been requested.
inline bool OfferRestart() { return AskForRestart() && RestartWindows(); }
