// Stand-ins for the program's two uses of NT security: the administrator
// check answers what the test says the user is, and the admin-only
// descriptor is a marker that the fake file system records where a folder
// or file is created with it. Both fail through the one failure table.
#include "system/admin_only_access.h"
#include "system/administrator.h"

#include "tests/stand_ins/stand_ins.h"

namespace {

bool administrator;
int live_accesses;
ACL marker_acl;  // what the descriptor points at: nothing reads it

fake::ResetHook security_reset([] {
    administrator = true;
    live_accesses = 0;
});

}  // namespace

int IsAdministrator() {
    fake::LogCall("IsAdministrator", "");
    return !fake::InjectedFailure("IsAdministrator", "") && administrator ? 1 : 0;
}

bool BuildAdminOnlyAccess(AdminOnlyAccess* access) {
    memset(access, 0, sizeof *access);
    fake::LogCall("BuildAdminOnlyAccess", "");
    if (fake::InjectedFailure("BuildAdminOnlyAccess", "")) return false;
    access->descriptor = (PSECURITY_DESCRIPTOR)stand_in::AdminOnlyDescriptor();
    access->attributes.nLength = sizeof access->attributes;
    access->attributes.lpSecurityDescriptor = access->descriptor;
    ++live_accesses;
    return true;
}

void FreeAdminOnlyAccess(AdminOnlyAccess* access) {
    if (access->descriptor) --live_accesses;
    access->descriptor = nullptr;
}

namespace stand_in {

void SetUserIsAdministrator(bool member) { administrator = member; }
const void* AdminOnlyDescriptor() { return &marker_acl; }
int LiveAdminOnlyAccesses() { return live_accesses; }

}  // namespace stand_in
