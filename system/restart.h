// The restart that completes deletions deferred to the next start of Windows.
#pragma once

#include "platform/platform.h"

// Asks the user whether Windows may restart now and, on OK, restarts it
// (programs that hang are forced to close; on NT 4 and Windows 9x every
// program is). With "/norestart" it neither asks nor restarts. Returns
// when the user declines, when the restart cannot be requested, and once
// it has been requested. A preview must not come here: the removal asks
// through the gateway's OfferWindowsRestart, which only records it then.
void OfferRestart();
