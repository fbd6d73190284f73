// The security types the program's descriptors are held in. The host build
// makes no security call: the administrator check, the admin-only
// descriptor and the shutdown privilege have stand-ins at their own seams.
#pragma once

#include "win32_types.h"

typedef void* PSID;
typedef void* PSECURITY_DESCRIPTOR;

struct ACL {
    BYTE AclRevision;
    BYTE Sbz1;
    WORD AclSize;
    WORD AceCount;
    WORD Sbz2;
};
typedef ACL* PACL;
struct ACE_HEADER {
    BYTE AceType;
    BYTE AceFlags;
    WORD AceSize;
};
struct ACCESS_ALLOWED_ACE {
    ACE_HEADER Header;
    DWORD Mask;
    DWORD SidStart;
};

// RtlGenRandom (Windows XP on): random bytes; non-zero on success.
BYTE SystemFunction036(PVOID buffer, ULONG length);
