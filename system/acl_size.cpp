// Sizing an access-control list that holds allowing entries only.
#include "system/acl_size.h"

DWORD AllowingAclSize(const DWORD* sid_lengths, int count) {
    DWORD size = sizeof(ACL);
    for (int i = 0; i < count; ++i)
        size += (DWORD)(sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) + sid_lengths[i];
    return size;
}
