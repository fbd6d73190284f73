// The administrators-and-system descriptor: two SIDs, an ACL with one
// allowing entry for each, and the descriptor that holds it, all given
// back by FreeAdminOnlyAccess.
#include "system/admin_only_access.h"

namespace {

bool AllocateSids(AdminOnlyAccess* a) {
    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    return a->api.AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                           DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &a->admins) &&
           a->api.AllocateAndInitializeSid(&nt_authority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0,
                                           0, 0, 0, &a->system);
}

bool FillDescriptor(AdminOnlyAccess* a) {
    DWORD acl_size = sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) +
                     a->api.GetLengthSid(a->admins) + a->api.GetLengthSid(a->system);
    a->acl = (PACL)LocalAlloc(LPTR, acl_size);
    a->descriptor = LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    return a->acl && a->descriptor &&
           a->api.InitializeSecurityDescriptor(a->descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           a->api.InitializeAcl(a->acl, acl_size, ACL_REVISION) &&
           a->api.AddAccessAllowedAce(a->acl, ACL_REVISION, FILE_ALL_ACCESS, a->admins) &&
           a->api.AddAccessAllowedAce(a->acl, ACL_REVISION, FILE_ALL_ACCESS, a->system) &&
           a->api.SetSecurityDescriptorDacl(a->descriptor, TRUE, a->acl, FALSE) &&
           a->api.IsValidSecurityDescriptor(a->descriptor);
}

}  // namespace

bool BuildAdminOnlyAccess(AdminOnlyAccess* access) {
    memset(access, 0, sizeof *access);
    bool built = LoadSecurityApi(&access->api) && AllocateSids(access) && FillDescriptor(access);
    if (!built) {
        FreeAdminOnlyAccess(access);
        return false;
    }
    access->attributes.nLength = sizeof access->attributes;
    access->attributes.lpSecurityDescriptor = access->descriptor;
    access->attributes.bInheritHandle = FALSE;
    return true;
}

void FreeAdminOnlyAccess(AdminOnlyAccess* access) {
    if (access->admins) access->api.FreeSid(access->admins);
    if (access->system) access->api.FreeSid(access->system);
    if (access->acl) LocalFree(access->acl);
    if (access->descriptor) LocalFree(access->descriptor);
    access->admins = access->system = nullptr;
    access->acl = nullptr;
    access->descriptor = nullptr;
}
