// The size of an access-control list of allowing entries, one per SID: what
// the administrator check and the admin-only descriptor allocate.
#pragma once

#include "platform/platform.h"

// The header, then each entry without its SID's first DWORD (which the
// entry's SidStart holds) and the whole SID.
DWORD AllowingAclSize(const DWORD* sid_lengths, int count);
