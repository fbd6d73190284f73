// Version resources of the fake's files (version.dll) and the files Windows
// File Protection keeps (sfc.dll). A test gives a file its company name or
// marks it protected; every other file has no version resource and is not
// protected. Files are known by their full path or its 8.3 spelling as it
// was when the test set them.
#include "fake_file_system.h"
#include "fake_world.h"

#include <ctype.h>
#include <map>
#include <set>
#include <string.h>

namespace {

struct VersionResource {
    std::string company;
    DWORD translation;
};

std::map<std::string, VersionResource> resources;
std::set<std::string> protected_files;

fake::ResetHook versions_reset([] {
    resources.clear();
    protected_files.clear();
});

std::string Key(const std::string& path) {
    std::string canonical;
    if (!fake_fs::Canonical(path, &canonical)) return "";
    for (char& c : canonical) c = (char)toupper((unsigned char)c);
    return canonical;
}

// The keys a file is known by: its path as given and its 8.3 spelling.
std::vector<std::string> KeysOf(const std::string& path) {
    std::vector<std::string> keys{Key(path)};
    char short_path[600];
    DWORD length = GetShortPathNameA(path.c_str(), short_path, sizeof short_path);
    if (length && length < sizeof short_path) keys.push_back(Key(short_path));
    return keys;
}

// The block GetFileVersionInfoA hands out: entries of a sub-block name (its
// terminator, padded to four bytes), the data's size and the data. Only
// VerQueryValueA reads it, as only it reads Windows' own.
void AddEntry(std::string& block, const std::string& name, const std::string& data) {
    block += name;
    block.append(4 - name.size() % 4, '\0');
    DWORD size = (DWORD)data.size();
    block.append((const char*)&size, 4);
    block += data;
    block.append((4 - data.size() % 4) % 4, '\0');
}

std::string BlockOf(const VersionResource& resource) {
    char table[40];
    DWORD translation = resource.translation ? resource.translation : 0x04B00409;
    snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\CompanyName",
             (unsigned)(translation & 0xFFFF), (unsigned)(translation >> 16));
    std::string block(4, '\0');
    if (resource.translation)
        AddEntry(block, "\\VarFileInfo\\Translation", std::string((const char*)&translation, 4));
    AddEntry(block, table, resource.company + '\0');
    DWORD size = (DWORD)block.size();
    memcpy(&block[0], &size, 4);
    return block;
}

const VersionResource* ResourceOf(const char* file_name, DWORD* error) {
    std::string path = file_name ? file_name : "";
    *error = fake_fs::IsFile(path) ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    auto found = resources.find(Key(path));
    return found == resources.end() || *error == ERROR_FILE_NOT_FOUND ? nullptr : &found->second;
}

std::string Narrow(LPCWSTR wide) {
    std::string narrow;
    for (; wide && *wide; ++wide) narrow += *wide < 0x80 ? (char)*wide : '?';
    return narrow;
}

}  // namespace

namespace fake {

// Only a program image carries a version resource: the file becomes one.
void SetFileCompany(const std::string& path, const std::string& company, DWORD translation) {
    std::string contents;
    if (fake_fs::ReadFile(path, &contents) && contents.compare(0, 2, "MZ") != 0)
        fake_fs::SetContents(path, "MZ" + std::string(0x3E, '\0') + contents);
    for (const std::string& key : KeysOf(path)) resources[key] = {company, translation};
}

void SetFileProtected(const std::string& path) {
    for (const std::string& key : KeysOf(path)) protected_files.insert(key);
}

}  // namespace fake

DWORD GetFileVersionInfoSizeA(LPCSTR file_name, LPDWORD handle) {
    fake::LogCall("GetFileVersionInfoSizeA", file_name ? file_name : "");
    if (handle) *handle = 0;
    DWORD error = fake::InjectedFailure("GetFileVersionInfoSizeA", file_name ? file_name : "");
    const VersionResource* resource = error ? nullptr : ResourceOf(file_name, &error);
    if (!resource) {
        SetLastError(error);
        return 0;
    }
    return (DWORD)BlockOf(*resource).size();
}

// Windows copies what fits of the block.
BOOL GetFileVersionInfoA(LPCSTR file_name, DWORD, DWORD size, LPVOID data) {
    fake::LogCall("GetFileVersionInfoA", file_name ? file_name : "");
    DWORD error = fake::InjectedFailure("GetFileVersionInfoA", file_name ? file_name : "");
    const VersionResource* resource = error ? nullptr : ResourceOf(file_name, &error);
    if (!resource) {
        SetLastError(error);
        return FALSE;
    }
    std::string block = BlockOf(*resource);
    memcpy(data, block.data(), block.size() < size ? block.size() : size);
    return TRUE;
}

// Sub-block names are matched without regard to letter case; a string's
// length counts its characters and terminator.
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID* buffer, PUINT length) {
    fake::LogCall("VerQueryValueA", sub_block ? sub_block : "");
    const char* bytes = (const char*)block;
    DWORD size;
    memcpy(&size, bytes, 4);
    for (DWORD at = 4; at < size;) {
        std::string name = bytes + at;
        at += (DWORD)(name.size() + 4 - name.size() % 4);
        DWORD data_size;
        memcpy(&data_size, bytes + at, 4);
        at += 4;
        if (sub_block && fake::SameName(name, sub_block)) {
            *buffer = (LPVOID)(bytes + at);
            *length = data_size;
            return TRUE;
        }
        at += data_size + (4 - data_size % 4) % 4;
    }
    return FALSE;
}

BOOL SfcIsFileProtected(HANDLE, LPCWSTR file_name) {
    std::string path = Narrow(file_name);
    fake::LogCall("SfcIsFileProtected", path);
    if (protected_files.count(Key(path)) && fake_fs::IsFile(path)) return TRUE;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}
