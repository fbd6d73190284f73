// Folders the program makes for itself (CreateDirectoryA), the descriptor
// a new folder or file was given, and advapi32's random bytes (RtlGenRandom,
// exported as SystemFunction036 from Windows XP on): a fixed sequence from
// each reset, so that a test can take a name before the program does.
#include <map>

#include "fake_file_system.h"
#include "fake_world.h"

namespace {

std::map<std::string, const void*> created_access;  // upper-case canonical path
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

std::string ParentOf(const std::string& canonical) {
    size_t slash = canonical.rfind('\\');
    return slash == std::string::npos ? "" : canonical.substr(0, slash);
}

}  // namespace

namespace fake_fs {

void RecordCreatedAccess(const std::string& path, LPSECURITY_ATTRIBUTES security) {
    created_access[Key(path)] = security ? security->lpSecurityDescriptor : nullptr;
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

const void* CreatedDescriptor(const std::string& path) {
    auto it = created_access.find(Key(path));
    return it == created_access.end() ? nullptr : it->second;
}

}  // namespace fake
