// Finding the NT security functions in advapi32 at run time.
#include "system/security_api.h"

#include "system/run_time_functions.h"

bool LoadSecurityApi(SecurityApi* api) {
    HMODULE a = GetModuleHandleA("advapi32.dll");
    return a && FindFunction(a, "ImpersonateSelf", &api->ImpersonateSelf) &&
           FindFunction(a, "RevertToSelf", &api->RevertToSelf) &&
           FindFunction(a, "OpenThreadToken", &api->OpenThreadToken) &&
           FindFunction(a, "OpenProcessToken", &api->OpenProcessToken) &&
           FindFunction(a, "DuplicateToken", &api->DuplicateToken) &&
           FindFunction(a, "AllocateAndInitializeSid", &api->AllocateAndInitializeSid) &&
           FindFunction(a, "FreeSid", &api->FreeSid) &&
           FindFunction(a, "GetLengthSid", &api->GetLengthSid) &&
           FindFunction(a, "InitializeSecurityDescriptor", &api->InitializeSecurityDescriptor) &&
           FindFunction(a, "InitializeAcl", &api->InitializeAcl) &&
           FindFunction(a, "AddAccessAllowedAce", &api->AddAccessAllowedAce) &&
           FindFunction(a, "SetSecurityDescriptorDacl", &api->SetSecurityDescriptorDacl) &&
           FindFunction(a, "SetSecurityDescriptorGroup", &api->SetSecurityDescriptorGroup) &&
           FindFunction(a, "SetSecurityDescriptorOwner", &api->SetSecurityDescriptorOwner) &&
           FindFunction(a, "IsValidSecurityDescriptor", &api->IsValidSecurityDescriptor) &&
           FindFunction(a, "AccessCheck", &api->AccessCheck) &&
           FindFunction(a, "LookupPrivilegeValueA", &api->LookupPrivilegeValueA) &&
           FindFunction(a, "AdjustTokenPrivileges", &api->AdjustTokenPrivileges);
}
