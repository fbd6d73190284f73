// The NT security functions of advapi32, found at run time. Only the NT
// family calls them, and the program must still load on the first
// Windows 95, whose advapi32 need not export them all.
#pragma once

#include "platform/platform.h"

struct SecurityApi {
    decltype(&::ImpersonateSelf) ImpersonateSelf;
    decltype(&::RevertToSelf) RevertToSelf;
    decltype(&::OpenThreadToken) OpenThreadToken;
    decltype(&::OpenProcessToken) OpenProcessToken;
    decltype(&::DuplicateToken) DuplicateToken;
    decltype(&::AllocateAndInitializeSid) AllocateAndInitializeSid;
    decltype(&::FreeSid) FreeSid;
    decltype(&::GetLengthSid) GetLengthSid;
    decltype(&::InitializeSecurityDescriptor) InitializeSecurityDescriptor;
    decltype(&::InitializeAcl) InitializeAcl;
    decltype(&::AddAccessAllowedAce) AddAccessAllowedAce;
    decltype(&::SetSecurityDescriptorDacl) SetSecurityDescriptorDacl;
    decltype(&::SetSecurityDescriptorGroup) SetSecurityDescriptorGroup;
    decltype(&::SetSecurityDescriptorOwner) SetSecurityDescriptorOwner;
    decltype(&::IsValidSecurityDescriptor) IsValidSecurityDescriptor;
    decltype(&::AccessCheck) AccessCheck;
    decltype(&::LookupPrivilegeValueA) LookupPrivilegeValueA;
    decltype(&::AdjustTokenPrivileges) AdjustTokenPrivileges;
};

// Fills every entry; false when advapi32 lacks any of them.
bool LoadSecurityApi(SecurityApi* api);
