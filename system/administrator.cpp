// The administrator test: an access check of the user's token against a
// private descriptor whose only entry allows the Administrators group.
// Everything taken is given back on every path: the impersonation, the
// tokens, the SID, the descriptor and its ACL.
#include "system/administrator.h"

#include "system/acl_size.h"
#include "system/security_api.h"

namespace {

const DWORD kCheckedAccess = 1;

// Filled by IsAdministrator before anything below runs.
SecurityApi api;

// AccessCheck wants an impersonation token; the process's own token is a
// primary one, so an impersonation copy of it is made.
HANDLE OpenProcessTokenCopy() {
    HANDLE process_token = nullptr, copy = nullptr;
    if (!api.OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &process_token))
        return nullptr;
    if (!api.DuplicateToken(process_token, SecurityImpersonation, &copy)) copy = nullptr;
    CloseHandle(process_token);
    return copy;
}

// The thread's token; the process's when the thread has none.
HANDLE OpenUserToken() {
    HANDLE token = nullptr;
    if (api.OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, FALSE, &token)) return token;
    return GetLastError() == ERROR_NO_TOKEN ? OpenProcessTokenCopy() : nullptr;
}

// Fills the descriptor: its DACL allows `admins` access 1 and 2; `admins`
// is its owner and group too.
bool BuildDescriptor(PSECURITY_DESCRIPTOR sd, PACL acl, DWORD acl_size, PSID admins) {
    if (!api.InitializeSecurityDescriptor(sd, SECURITY_DESCRIPTOR_REVISION)) return false;
    if (!api.InitializeAcl(acl, acl_size, ACL_REVISION)) return false;
    if (!api.AddAccessAllowedAce(acl, ACL_REVISION2, 3, admins)) return false;
    if (!api.SetSecurityDescriptorDacl(sd, TRUE, acl, FALSE)) return false;
    api.SetSecurityDescriptorGroup(sd, admins, FALSE);
    api.SetSecurityDescriptorOwner(sd, admins, FALSE);
    return api.IsValidSecurityDescriptor(sd) != FALSE;
}

int CheckAccess(HANDLE token, PSECURITY_DESCRIPTOR sd) {
    // Filled at run time: as an initialised aggregate the compiler keeps
    // its 16 bytes in a writable data section of their own.
    GENERIC_MAPPING mapping;
    mapping.GenericRead = 1;
    mapping.GenericWrite = 2;
    mapping.GenericExecute = 0;
    mapping.GenericAll = 3;
    PRIVILEGE_SET privileges;
    DWORD privileges_length = sizeof privileges;  // 20 bytes
    DWORD granted = 0;
    BOOL status = FALSE;
    if (!api.AccessCheck(sd, token, kCheckedAccess, &mapping, &privileges, &privileges_length,
                     &granted, &status))
        return 0;
    return status ? 1 : 0;
}

int CheckTokenAgainstAdmins(HANDLE token, PSID admins) {
    const DWORD sid_length = api.GetLengthSid(admins);
    DWORD acl_size = AllowingAclSize(&sid_length, 1);
    PSECURITY_DESCRIPTOR sd = LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    PACL acl = (PACL)LocalAlloc(LPTR, acl_size);
    int result = 0;
    if (sd && acl && BuildDescriptor(sd, acl, acl_size, admins)) result = CheckAccess(token, sd);
    if (acl) LocalFree(acl);
    if (sd) LocalFree(sd);
    return result;
}

int CheckToken(HANDLE token) {
    SID_IDENTIFIER_AUTHORITY nt_authority = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    if (!api.AllocateAndInitializeSid(&nt_authority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                  DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &admins))
        return 0;
    int result = CheckTokenAgainstAdmins(token, admins);
    api.FreeSid(admins);
    return result;
}

}  // namespace

int IsAdministrator() {
    if (!LoadSecurityApi(&api)) return 0;
    api.ImpersonateSelf(SecurityImpersonation);
    HANDLE token = OpenUserToken();
    int result = token ? CheckToken(token) : 0;
    if (token) CloseHandle(token);
    api.RevertToSelf();
    return result;
}
