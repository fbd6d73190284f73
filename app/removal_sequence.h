// One complete removal of the product that a description record names.
#pragma once

#include "platform/platform.h"
#include "uninstall_data/uninstall_data.h"

// Given the progress dialog (Verbose) or null and the record: 0 when the
// sequence ran to its end or the registered uninstall command took the
// removal over, 5 when the user did not confirm, 6 when the confirmation's
// text or caption is missing. Without a dialog the result is always 0.
int RunRemovalSequence(HWND dialog, const UninstallData& data);
