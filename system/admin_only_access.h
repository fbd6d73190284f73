// A security descriptor that lets the Administrators group and the system
// account in, and no one else: what the program's own files in a shared
// folder are created with on the NT family.
#pragma once

#include "platform/platform.h"

struct AdminOnlyAccess {
    PSID admins;
    PSID system;
    PACL acl;
    PSECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes;  // points at the descriptor
};

// Builds it; false (everything given back) when advapi32 cannot.
bool BuildAdminOnlyAccess(AdminOnlyAccess* access);
// Gives back what BuildAdminOnlyAccess took; safe after its failure.
void FreeAdminOnlyAccess(AdminOnlyAccess* access);
