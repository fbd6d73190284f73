// Fake security: the user's token carries groups (SIDs) and privileges; the
// thread gets an impersonation copy from ImpersonateSelf; AccessCheck decides
// from the descriptor's DACL and the token's groups and refuses a primary
// token, as Windows does. Token handles, SIDs and local allocations are
// counted so that a test can see a leak.
#include "fake_world.h"

#include <map>
#include <memory>
#include <set>
#include <stdlib.h>
#include <string.h>

namespace {

struct Identity {
    std::vector<std::string> groups;       // SIDs as bytes
    std::map<std::string, bool> privileges;  // name -> enabled
};

struct Token {
    bool impersonation;
    DWORD access;
    std::shared_ptr<Identity> identity;
};

const HANDLE kCurrentProcess = (HANDLE)(intptr_t)-1;
const HANDLE kCurrentThread = (HANDLE)(intptr_t)-2;

std::shared_ptr<Identity> process_identity;
std::shared_ptr<Identity> thread_identity;
std::map<HANDLE, Token> tokens;
ULONG_PTR next_token;
std::set<void*> sids;
std::set<void*> local_blocks;

const struct { const char* name; DWORD luid; } kPrivileges[] = {
    {"SeBackupPrivilege", 17}, {"SeRestorePrivilege", 18}, {"SeShutdownPrivilege", 19},
    {"SeDebugPrivilege", 20},  {"SeChangeNotifyPrivilege", 23},
};

std::string Sid(BYTE authority, std::vector<DWORD> subs) {
    std::string sid = {1, (char)subs.size(), 0, 0, 0, 0, 0, (char)authority};
    for (DWORD sub : subs) sid.append((const char*)&sub, 4);
    return sid;
}

void SetGroups(bool administrator) {
    process_identity->groups = {Sid(1, {0}), Sid(5, {32, 545})};
    if (administrator) process_identity->groups.push_back(Sid(5, {32, 544}));
}

fake::ResetHook security_reset([] {
    process_identity = std::make_shared<Identity>();
    SetGroups(true);
    process_identity->privileges = {{"SeShutdownPrivilege", false}, {"SeChangeNotifyPrivilege", true}};
    thread_identity.reset();
    tokens.clear();
    next_token = 0x3000;
    for (void* sid : sids) free(sid);
    sids.clear();
    for (void* block : local_blocks) free(block);
    local_blocks.clear();
});

fake::HandleCloser token_closer([](HANDLE handle) { return tokens.erase(handle) != 0; });

HANDLE NewToken(bool impersonation, DWORD access, std::shared_ptr<Identity> identity) {
    HANDLE handle = (HANDLE)next_token;
    next_token += 4;
    tokens[handle] = {impersonation, access, identity};
    return handle;
}

Token* TokenOf(HANDLE handle) {
    auto it = tokens.find(handle);
    return it == tokens.end() ? nullptr : &it->second;
}

// Log, then any injected failure; sets the last error and answers true when
// the call is to fail.
bool Failed(const char* api, const std::string& subject = "") {
    fake::LogCall(api, subject);
    DWORD error = fake::InjectedFailure(api, subject);
    if (error) SetLastError(error);
    return error != 0;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

size_t SidLength(const void* sid) { return 8 + 4 * (size_t)((const BYTE*)sid)[1]; }

bool ValidSid(const void* sid) {
    return sid && ((const BYTE*)sid)[0] == 1 && ((const BYTE*)sid)[1] <= 15;
}

std::string SidBytes(const void* sid) { return std::string((const char*)sid, SidLength(sid)); }

// The ACEs of an ACL, checked against its recorded size.
bool AclAces(const ACL* acl, std::vector<const ACE_HEADER*>* aces) {
    if (acl->AclRevision < 2 || acl->AclRevision > 4 || acl->AclSize < sizeof(ACL)) return false;
    size_t at = sizeof(ACL);
    for (WORD i = 0; i < acl->AceCount; ++i) {
        const ACE_HEADER* ace = (const ACE_HEADER*)((const BYTE*)acl + at);
        if (at + sizeof(ACE_HEADER) > acl->AclSize || ace->AceSize < sizeof(ACE_HEADER) ||
            at + ace->AceSize > acl->AclSize)
            return false;
        if (aces) aces->push_back(ace);
        at += ace->AceSize;
    }
    return true;
}

size_t AclUsed(const ACL* acl) {
    std::vector<const ACE_HEADER*> aces;
    AclAces(acl, &aces);
    size_t used = sizeof(ACL);
    for (auto* ace : aces) used += ace->AceSize;
    return used;
}

bool ValidDescriptor(const SECURITY_DESCRIPTOR* sd) {
    if (!sd || sd->Revision != SECURITY_DESCRIPTOR_REVISION) return false;
    if (sd->Owner && !ValidSid(sd->Owner)) return false;
    if (sd->Group && !ValidSid(sd->Group)) return false;
    return !(sd->Control & SE_DACL_PRESENT) || !sd->Dacl || AclAces(sd->Dacl, nullptr);
}

DWORD MapGeneric(DWORD mask, const GENERIC_MAPPING* m) {
    if (mask & 0x80000000u) mask |= m->GenericRead;
    if (mask & 0x40000000u) mask |= m->GenericWrite;
    if (mask & 0x20000000u) mask |= m->GenericExecute;
    if (mask & 0x10000000u) mask |= m->GenericAll;
    return mask & 0x0FFFFFFFu;
}

bool HasGroup(const Identity& identity, const std::string& sid) {
    for (auto& group : identity.groups)
        if (group == sid) return true;
    return false;
}

DWORD Granted(const SECURITY_DESCRIPTOR* sd, const Identity& identity, const GENERIC_MAPPING* m) {
    if (!(sd->Control & SE_DACL_PRESENT) || !sd->Dacl) return 0x0FFFFFFFu;
    std::vector<const ACE_HEADER*> aces;
    AclAces(sd->Dacl, &aces);
    DWORD granted = 0;
    for (auto* ace : aces) {
        if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        const ACCESS_ALLOWED_ACE* allowed = (const ACCESS_ALLOWED_ACE*)ace;
        if (HasGroup(identity, SidBytes(&allowed->SidStart))) granted |= MapGeneric(allowed->Mask, m);
    }
    return granted;
}

const char* PrivilegeName(const LUID& luid) {
    for (auto& p : kPrivileges)
        if (p.luid == luid.LowPart && luid.HighPart == 0) return p.name;
    return nullptr;
}

}  // namespace

HANDLE GetCurrentProcess(void) { return kCurrentProcess; }
HANDLE GetCurrentThread(void) { return kCurrentThread; }

BOOL ImpersonateSelf(SECURITY_IMPERSONATION_LEVEL) {
    if (Failed("ImpersonateSelf")) return FALSE;
    thread_identity = std::make_shared<Identity>(*process_identity);
    return TRUE;
}

BOOL RevertToSelf(void) {
    if (Failed("RevertToSelf")) return FALSE;
    thread_identity.reset();
    return TRUE;
}

BOOL OpenThreadToken(HANDLE thread, DWORD access, BOOL, PHANDLE token) {
    if (Failed("OpenThreadToken")) return FALSE;
    if (thread != kCurrentThread) return Fail(ERROR_INVALID_HANDLE);
    if (!thread_identity) return Fail(ERROR_NO_TOKEN);
    *token = NewToken(true, access, thread_identity);
    return TRUE;
}

BOOL OpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    if (Failed("OpenProcessToken")) return FALSE;
    if (process != kCurrentProcess) return Fail(ERROR_INVALID_HANDLE);
    *token = NewToken(false, access, process_identity);
    return TRUE;
}

BOOL DuplicateToken(HANDLE token, SECURITY_IMPERSONATION_LEVEL level, PHANDLE duplicate) {
    if (Failed("DuplicateToken")) return FALSE;
    Token* source = TokenOf(token);
    if (!source) return Fail(ERROR_INVALID_HANDLE);
    if (!(source->access & TOKEN_DUPLICATE)) return Fail(ERROR_ACCESS_DENIED);
    if (level > SecurityDelegation) return Fail(ERROR_BAD_IMPERSONATION_LEVEL);
    auto copy = std::make_shared<Identity>(*source->identity);
    *duplicate = NewToken(true, TOKEN_IMPERSONATE | TOKEN_QUERY, copy);
    return TRUE;
}

BOOL AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD s0,
                              DWORD s1, DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6,
                              DWORD s7, PSID* sid) {
    if (Failed("AllocateAndInitializeSid")) return FALSE;
    if (count > 8) return Fail(ERROR_INVALID_SID);
    const DWORD subs[8] = {s0, s1, s2, s3, s4, s5, s6, s7};
    BYTE* made = (BYTE*)malloc(8 + 4 * (size_t)count);
    made[0] = 1;
    made[1] = count;
    memcpy(made + 2, authority->Value, 6);
    memcpy(made + 8, subs, 4 * (size_t)count);
    sids.insert(made);
    *sid = made;
    return TRUE;
}

PVOID FreeSid(PSID sid) {
    fake::LogCall("FreeSid", "");
    if (!sids.erase(sid)) return sid;
    free(sid);
    return nullptr;
}

DWORD GetLengthSid(PSID sid) { return ValidSid(sid) ? (DWORD)SidLength(sid) : 0; }

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision) {
    if (Failed("InitializeSecurityDescriptor")) return FALSE;
    if (revision != SECURITY_DESCRIPTOR_REVISION) return Fail(1305);  // ERROR_UNKNOWN_REVISION
    memset(descriptor, 0, sizeof(SECURITY_DESCRIPTOR));
    ((SECURITY_DESCRIPTOR*)descriptor)->Revision = SECURITY_DESCRIPTOR_REVISION;
    return TRUE;
}

BOOL InitializeAcl(PACL acl, DWORD length, DWORD revision) {
    if (Failed("InitializeAcl")) return FALSE;
    if (length < sizeof(ACL) || length > 0xFFFF) return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (revision < 2 || revision > 4) return Fail(1305);
    memset(acl, 0, sizeof(ACL));
    acl->AclRevision = (BYTE)revision;
    acl->AclSize = (WORD)length;
    return TRUE;
}

BOOL AddAccessAllowedAce(PACL acl, DWORD revision, DWORD mask, PSID sid) {
    if (Failed("AddAccessAllowedAce")) return FALSE;
    if (!ValidSid(sid)) return Fail(ERROR_INVALID_SID);
    if (!AclAces(acl, nullptr) || revision < 2 || revision > 4) return Fail(ERROR_INVALID_ACL);
    size_t used = AclUsed(acl), size = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + SidLength(sid);
    if (used + size > acl->AclSize) return Fail(ERROR_ALLOTTED_SPACE_EXCEEDED);
    ACCESS_ALLOWED_ACE* ace = (ACCESS_ALLOWED_ACE*)((BYTE*)acl + used);
    ace->Header = {ACCESS_ALLOWED_ACE_TYPE, 0, (WORD)size};
    ace->Mask = mask;
    memcpy(&ace->SidStart, sid, SidLength(sid));
    acl->AceCount++;
    return TRUE;
}

BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL dacl, BOOL) {
    if (Failed("SetSecurityDescriptorDacl")) return FALSE;
    SECURITY_DESCRIPTOR* sd = (SECURITY_DESCRIPTOR*)descriptor;
    sd->Control = present ? (sd->Control | SE_DACL_PRESENT) : (sd->Control & ~SE_DACL_PRESENT);
    sd->Dacl = present ? dacl : nullptr;
    return TRUE;
}

BOOL SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID group, BOOL) {
    if (Failed("SetSecurityDescriptorGroup")) return FALSE;
    ((SECURITY_DESCRIPTOR*)descriptor)->Group = group;
    return TRUE;
}

BOOL SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner, BOOL) {
    if (Failed("SetSecurityDescriptorOwner")) return FALSE;
    ((SECURITY_DESCRIPTOR*)descriptor)->Owner = owner;
    return TRUE;
}

BOOL IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor) {
    if (Failed("IsValidSecurityDescriptor")) return FALSE;
    return ValidDescriptor((const SECURITY_DESCRIPTOR*)descriptor) ? TRUE : Fail(ERROR_INVALID_SECURITY_DESCR);
}

BOOL AccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE token, DWORD desired,
                 PGENERIC_MAPPING mapping, PPRIVILEGE_SET privileges, LPDWORD privileges_length,
                 LPDWORD granted, LPBOOL status) {
    if (Failed("AccessCheck")) return FALSE;
    Token* t = TokenOf(token);
    const SECURITY_DESCRIPTOR* sd = (const SECURITY_DESCRIPTOR*)descriptor;
    if (!t) return Fail(ERROR_INVALID_HANDLE);
    if (!t->impersonation) return Fail(ERROR_NO_IMPERSONATION_TOKEN);
    if (!(t->access & TOKEN_QUERY)) return Fail(ERROR_ACCESS_DENIED);
    if (!ValidDescriptor(sd) || !sd->Owner || !sd->Group) return Fail(ERROR_INVALID_SECURITY_DESCR);
    if (desired & 0xF0000000u) return Fail(ERROR_GENERIC_NOT_MAPPED);
    if (*privileges_length < sizeof(PRIVILEGE_SET)) {
        *privileges_length = sizeof(PRIVILEGE_SET);
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    privileges->PrivilegeCount = 0;
    DWORD allowed = Granted(sd, *t->identity, mapping);
    bool ok = desired != 0 && (allowed & desired) == desired;
    *granted = ok ? desired : 0;
    *status = ok;
    if (!ok) SetLastError(ERROR_ACCESS_DENIED);
    return TRUE;
}

BOOL LookupPrivilegeValueA(LPCSTR, LPCSTR name, PLUID luid) {
    if (Failed("LookupPrivilegeValueA", name ? name : "")) return FALSE;
    for (auto& p : kPrivileges) {
        if (name && fake::SameName(name, p.name)) {
            *luid = {p.luid, 0};
            return TRUE;
        }
    }
    return Fail(ERROR_NO_SUCH_PRIVILEGE);
}

BOOL AdjustTokenPrivileges(HANDLE token, BOOL disable_all, PTOKEN_PRIVILEGES new_state, DWORD,
                           PTOKEN_PRIVILEGES previous, LPDWORD return_length) {
    if (Failed("AdjustTokenPrivileges")) return FALSE;
    Token* t = TokenOf(token);
    if (!t) return Fail(ERROR_INVALID_HANDLE);
    if (!(t->access & TOKEN_ADJUST_PRIVILEGES)) return Fail(ERROR_ACCESS_DENIED);
    if (previous) previous->PrivilegeCount = 0;
    if (return_length) *return_length = sizeof(DWORD);
    bool all_assigned = true;
    if (disable_all)
        for (auto& p : t->identity->privileges) p.second = false;
    for (DWORD i = 0; !disable_all && new_state && i < new_state->PrivilegeCount; ++i) {
        const char* name = PrivilegeName(new_state->Privileges[i].Luid);
        auto held = name ? t->identity->privileges.find(name) : t->identity->privileges.end();
        if (held == t->identity->privileges.end()) {
            all_assigned = false;
            continue;
        }
        held->second = (new_state->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    SetLastError(all_assigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}

HLOCAL LocalAlloc(UINT flags, size_t bytes) {
    if (Failed("LocalAlloc", std::to_string(bytes))) return nullptr;
    void* block = (flags & LMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
    local_blocks.insert(block);
    return block;
}

HLOCAL LocalFree(HLOCAL memory) {
    fake::LogCall("LocalFree", "");
    if (!memory) return nullptr;
    if (!local_blocks.erase(memory)) return memory;
    free(memory);
    return nullptr;
}

namespace fake {

void SetUserIsAdministrator(bool administrator) { SetGroups(administrator); }

void SetUserPrivileges(const std::vector<std::string>& held) {
    process_identity->privileges.clear();
    for (auto& name : held) process_identity->privileges[name] = false;
}

bool ProcessPrivilegeEnabled(const std::string& name) {
    auto it = process_identity->privileges.find(name);
    return it != process_identity->privileges.end() && it->second;
}

int OpenTokenCount() { return (int)tokens.size(); }
int LiveSidCount() { return (int)sids.size(); }
int LocalBlockCount() { return (int)local_blocks.size(); }
bool ThreadIsImpersonating() { return thread_identity != nullptr; }

}  // namespace fake
