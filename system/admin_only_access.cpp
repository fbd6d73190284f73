// The administrators-and-system descriptor: two SIDs, an ACL with one
// allowing entry for each, and the descriptor that holds it, all given
// back by FreeAdminOnlyAccess.
#include "system/admin_only_access.h"

#include "system/acl_size.h"
#include "system/security_api.h"

namespace {

bool AllocateSids(const SecurityApi& api, AdminOnlyAccess* a) {
    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    return api.AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                        DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &a->admins) &&
           api.AllocateAndInitializeSid(&nt_authority, 1, SECURITY_LOCAL_SYSTEM_RID, 0, 0, 0, 0,
                                        0, 0, 0, &a->system);
}

bool FillDescriptor(const SecurityApi& api, AdminOnlyAccess* a) {
    const DWORD sid_lengths[] = {api.GetLengthSid(a->admins), api.GetLengthSid(a->system)};
    DWORD acl_size = AllowingAclSize(sid_lengths, 2);
    a->acl = (PACL)LocalAlloc(LPTR, acl_size);
    a->descriptor = LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    return a->acl && a->descriptor &&
           api.InitializeSecurityDescriptor(a->descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           api.InitializeAcl(a->acl, acl_size, ACL_REVISION) &&
           api.AddAccessAllowedAce(a->acl, ACL_REVISION, FILE_ALL_ACCESS, a->admins) &&
           api.AddAccessAllowedAce(a->acl, ACL_REVISION, FILE_ALL_ACCESS, a->system) &&
           api.SetSecurityDescriptorDacl(a->descriptor, TRUE, a->acl, FALSE) &&
           api.IsValidSecurityDescriptor(a->descriptor);
}

}  // namespace

bool BuildAdminOnlyAccess(AdminOnlyAccess* access) {
    memset(access, 0, sizeof *access);
    SecurityApi api;
    bool built = LoadSecurityApi(&api) && AllocateSids(api, access) && FillDescriptor(api, access);
    if (!built) {
        FreeAdminOnlyAccess(access);
        return false;
    }
    access->attributes.nLength = sizeof access->attributes;
    access->attributes.lpSecurityDescriptor = access->descriptor;
    access->attributes.bInheritHandle = FALSE;
    return true;
}

// A SID was only ever allocated once the functions were found, so finding
// them again cannot fail then.
void FreeAdminOnlyAccess(AdminOnlyAccess* access) {
    SecurityApi api;
    bool found = (access->admins || access->system) && LoadSecurityApi(&api);
    if (found && access->admins) api.FreeSid(access->admins);
    if (found && access->system) api.FreeSid(access->system);
    if (access->acl) LocalFree(access->acl);
    if (access->descriptor) LocalFree(access->descriptor);
    access->admins = access->system = nullptr;
    access->acl = nullptr;
    access->descriptor = nullptr;
}
