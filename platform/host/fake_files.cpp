// A small file system of files and directories for the deletion calls.
// Paths are resolved as Windows resolves them ("." and ".." components,
// repeated and trailing separators) and compared case-insensitively, so a
// path that names a folder in a roundabout way still names that folder.
#include "fake_world.h"

#include <ctype.h>
#include <map>

namespace {

std::map<std::string, bool> entries;  // resolved lower-case path -> is a directory

fake::ResetHook files_reset([] { entries.clear(); });

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/') {
            part += (char)tolower((unsigned char)path[i]);
            continue;
        }
        if (part == "..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    return parts;
}

std::string Resolve(const std::string& path) {
    std::string out;
    for (auto& part : Components(path)) out += (out.empty() ? "" : "\\") + part;
    return out;
}

bool HasChildren(const std::string& directory) {
    std::string prefix = directory + "\\";
    auto it = entries.lower_bound(prefix);
    return it != entries.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

void AddParents(const std::string& resolved) {
    for (size_t slash = resolved.find('\\'); slash != std::string::npos;
         slash = resolved.find('\\', slash + 1))
        entries.emplace(resolved.substr(0, slash), true);
}

// Removes an entry of the wanted kind, with Windows' error codes.
BOOL Remove(const char* api, const char* path, bool directory) {
    std::string given = path ? path : "";
    fake::LogCall(api, given);
    DWORD error = fake::InjectedFailure(api, given);
    std::string resolved = Resolve(given);
    auto it = entries.find(resolved);
    if (!error && it == entries.end()) error = ERROR_FILE_NOT_FOUND;
    if (!error && it->second != directory) error = directory ? ERROR_DIRECTORY : ERROR_ACCESS_DENIED;
    if (!error && directory && HasChildren(resolved)) error = ERROR_DIR_NOT_EMPTY;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    entries.erase(it);
    return TRUE;
}

}  // namespace

namespace fake {

void AddFile(const std::string& path) {
    std::string resolved = Resolve(path);
    AddParents(resolved);
    entries[resolved] = false;
}

void AddDirectory(const std::string& path) {
    std::string resolved = Resolve(path);
    AddParents(resolved);
    entries[resolved] = true;
}

bool FileExists(const std::string& path) {
    auto it = entries.find(Resolve(path));
    return it != entries.end() && !it->second;
}

bool DirectoryExists(const std::string& path) {
    auto it = entries.find(Resolve(path));
    return it != entries.end() && it->second;
}

}  // namespace fake

BOOL DeleteFileA(LPCSTR file_name) { return Remove("DeleteFileA", file_name, false); }

BOOL RemoveDirectoryA(LPCSTR path_name) { return Remove("RemoveDirectoryA", path_name, true); }
