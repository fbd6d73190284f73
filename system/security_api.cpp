// Finding the NT security functions in advapi32 at run time.
#include "system/security_api.h"

namespace {

template <typename Function>
bool Find(HMODULE advapi, const char* name, Function* function) {
    *function = (Function)(void (*)(void))GetProcAddress(advapi, name);
    return *function != nullptr;
}

}  // namespace

bool LoadSecurityApi(SecurityApi* api) {
    HMODULE a = GetModuleHandleA("advapi32.dll");
    return a && Find(a, "ImpersonateSelf", &api->ImpersonateSelf) &&
           Find(a, "RevertToSelf", &api->RevertToSelf) &&
           Find(a, "OpenThreadToken", &api->OpenThreadToken) &&
           Find(a, "OpenProcessToken", &api->OpenProcessToken) &&
           Find(a, "DuplicateToken", &api->DuplicateToken) &&
           Find(a, "AllocateAndInitializeSid", &api->AllocateAndInitializeSid) &&
           Find(a, "FreeSid", &api->FreeSid) && Find(a, "GetLengthSid", &api->GetLengthSid) &&
           Find(a, "InitializeSecurityDescriptor", &api->InitializeSecurityDescriptor) &&
           Find(a, "InitializeAcl", &api->InitializeAcl) &&
           Find(a, "AddAccessAllowedAce", &api->AddAccessAllowedAce) &&
           Find(a, "SetSecurityDescriptorDacl", &api->SetSecurityDescriptorDacl) &&
           Find(a, "SetSecurityDescriptorGroup", &api->SetSecurityDescriptorGroup) &&
           Find(a, "SetSecurityDescriptorOwner", &api->SetSecurityDescriptorOwner) &&
           Find(a, "IsValidSecurityDescriptor", &api->IsValidSecurityDescriptor) &&
           Find(a, "AccessCheck", &api->AccessCheck) &&
           Find(a, "LookupPrivilegeValueA", &api->LookupPrivilegeValueA) &&
           Find(a, "AdjustTokenPrivileges", &api->AdjustTokenPrivileges);
}
