// Folders the program makes for itself (CreateDirectoryA), the DACL a new
// folder or file was given, and advapi32's random bytes (RtlGenRandom,
// exported as SystemFunction036 from Windows XP on): a fixed sequence from
// each reset, so that a test can take a name before the program does.
#include <string.h>

#include <map>

#include "fake_file_system.h"
#include "fake_world.h"

namespace {

std::map<std::string, std::vector<std::string>> created_access;  // upper-case canonical path
uint32_t random_state;

fake::ResetHook created_reset([] {
    created_access.clear();
    random_state = 12345;
});

std::string Key(const std::string& path) {
    std::string canonical;
    if (!fake_fs::Canonical(path, &canonical)) return "";
    for (char& c : canonical) c = (char)toupper((unsigned char)c);
    return canonical;
}

std::string SidText(const BYTE* sid) {
    std::string text = "S-1-" + std::to_string(sid[7]);
    for (int i = 0; i < sid[1]; ++i) {
        DWORD sub;
        memcpy(&sub, sid + 8 + 4 * i, 4);
        text += "-" + std::to_string(sub);
    }
    return text;
}

// The allowed entries of a descriptor's DACL, as SIDs.
std::vector<std::string> AllowedSids(const SECURITY_DESCRIPTOR* sd) {
    std::vector<std::string> sids;
    if (!sd || !(sd->Control & SE_DACL_PRESENT) || !sd->Dacl) return sids;
    const BYTE* at = (const BYTE*)sd->Dacl + sizeof(ACL);
    for (WORD i = 0; i < sd->Dacl->AceCount; ++i) {
        const ACE_HEADER* ace = (const ACE_HEADER*)at;
        if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE)
            sids.push_back(SidText((const BYTE*)&((const ACCESS_ALLOWED_ACE*)ace)->SidStart));
        at += ace->AceSize;
    }
    return sids;
}

std::string ParentOf(const std::string& canonical) {
    size_t slash = canonical.rfind('\\');
    return slash == std::string::npos ? "" : canonical.substr(0, slash);
}

}  // namespace

namespace fake_fs {

void RecordCreatedAccess(const std::string& path, LPSECURITY_ATTRIBUTES security) {
    const SECURITY_DESCRIPTOR* sd =
        security ? (const SECURITY_DESCRIPTOR*)security->lpSecurityDescriptor : nullptr;
    created_access[Key(path)] = AllowedSids(sd);
}

}  // namespace fake_fs

BOOL CreateDirectoryA(LPCSTR path_name, LPSECURITY_ATTRIBUTES security) {
    std::string path = path_name ? path_name : "";
    fake::LogCall("CreateDirectoryA", path);
    std::string canonical;
    DWORD error = fake::InjectedFailure("CreateDirectoryA", path);
    if (!error && !fake_fs::Canonical(path, &canonical)) error = ERROR_PATH_NOT_FOUND;
    if (!error && fake_fs::Exists(canonical)) error = ERROR_ALREADY_EXISTS;
    if (!error && !fake_fs::IsFolder(ParentOf(canonical))) error = ERROR_PATH_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    fake::AddDirectory(canonical);
    fake_fs::RecordCreatedAccess(canonical, security);
    return TRUE;
}

// Not a good generator: a fixed, repeatable one.
BYTE SystemFunction036(PVOID buffer, ULONG length) {
    fake::LogCall("SystemFunction036", std::to_string(length));
    for (ULONG i = 0; i < length; ++i) {
        random_state = random_state * 1103515245u + 12345u;
        ((BYTE*)buffer)[i] = (BYTE)(random_state >> 16);
    }
    return 1;
}

namespace fake {

std::vector<std::string> CreatedAccess(const std::string& path) {
    auto it = created_access.find(Key(path));
    return it == created_access.end() ? std::vector<std::string>() : it->second;
}

}  // namespace fake
