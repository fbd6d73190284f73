// Finding the NT security functions in advapi32 at run time.
#include "system/security_api.h"

#include "system/run_time_functions.h"

namespace {

// The functions' names in the order of SecurityApi's members.
constexpr char kNames[] =
    "ImpersonateSelf\0RevertToSelf\0OpenThreadToken\0OpenProcessToken\0DuplicateToken\0"
    "AllocateAndInitializeSid\0FreeSid\0GetLengthSid\0InitializeSecurityDescriptor\0"
    "InitializeAcl\0AddAccessAllowedAce\0SetSecurityDescriptorDacl\0SetSecurityDescriptorGroup\0"
    "SetSecurityDescriptorOwner\0IsValidSecurityDescriptor\0AccessCheck\0LookupPrivilegeValueA\0"
    "AdjustTokenPrivileges";

constexpr size_t NameCount() {
    size_t count = 0;
    for (char c : kNames) count += c == 0;  // each name ends with one
    return count;
}
static_assert(NameCount() * sizeof(FARPROC) == sizeof(SecurityApi), "one name per member");

}  // namespace

bool LoadSecurityApi(SecurityApi* api) {
    return FindFunctions(LoadedLibrary("advapi32.dll"), kNames, api, sizeof *api);
}
