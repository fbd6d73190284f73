// How Windows reads a path before the file system sees it: the full form
// GetFullPathNameA gives, the other roots that reach a local folder (shares,
// "\\?\" and "\\.\" prefixes, subst drives) and the kind of each drive.
#include <ctype.h>
#include <string.h>

#include <map>

#include "fake_file_system.h"
#include "fake_world.h"

namespace {

std::map<std::string, std::string> shares;  // "\\SERVER\NAME" upper case -> folder
std::map<char, std::string> substs;         // drive letter -> folder
std::map<char, UINT> drive_types;
const char kCurrentFolder[] = "C:\\";

fake::ResetHook paths_reset([] {
    shares.clear();
    substs.clear();
    drive_types.clear();
});

std::string Upper(std::string text) {
    for (auto& c : text) c = (char)toupper((unsigned char)c);
    return text;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool StartsWithDrive(const std::string& path) {
    return path.size() >= 2 && isalpha((unsigned char)path[0]) && path[1] == ':';
}

// The root's length: "C:", "\\server\share" or "\\.\C:"; 0 for a relative path.
size_t RootLength(const std::string& path) {
    if (StartsWithDrive(path)) return 2;
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return 0;
    size_t end = 2;
    for (int piece = 0; piece < 2 && end < path.size(); ++piece) {
        if (piece) ++end;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
    }
    return end;
}

// A name's trailing dots and blanks go when it is the last; otherwise one
// trailing dot (names of dots only are left to the caller).
std::string TrimmedName(std::string name, bool last) {
    if (last) {
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    } else if (name.size() > 1 && name.back() == '.' && name[name.size() - 2] != '.') {
        name.pop_back();
    }
    return name;
}

std::vector<std::string> Names(const std::string& rest) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find_first_of("\\/", start);
        if (end == std::string::npos) end = rest.size();
        names.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// "." and ".." resolved, never above the root; empty names dropped.
std::string ResolvedNames(const std::string& rest) {
    std::vector<std::string> names = Names(rest), kept;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        std::string trimmed = TrimmedName(name, i + 1 == names.size());
        if (!trimmed.empty()) kept.push_back(trimmed);
    }
    std::string joined;
    for (auto& name : kept) joined += "\\" + name;
    return joined;
}

std::string WithBackslashes(std::string text) {
    for (auto& c : text)
        if (c == '/') c = '\\';
    return text;
}

}  // namespace

namespace fake_fs {

std::string FullPathText(const std::string& given) {
    if (given.compare(0, 4, "\\\\?\\") == 0) return given;
    std::string path = given;
    if (RootLength(path) == 0) {
        path = (path.size() && IsSeparator(path[0]) ? std::string(kCurrentFolder, 2) : kCurrentFolder) + path;
    } else if (path.size() == 2 || (StartsWithDrive(path) && !IsSeparator(path[2]))) {
        path = path.substr(0, 2) + "\\" + path.substr(2);  // the drive's current folder: its root
    }
    size_t root = RootLength(path);
    std::string rest = path.substr(root);
    bool trailing = !rest.empty() && IsSeparator(rest.back());
    std::string names = ResolvedNames(rest);
    std::string head = WithBackslashes(path.substr(0, root));
    if (StartsWithDrive(head)) head[0] = (char)toupper((unsigned char)head[0]);
    if (names.empty()) return head + "\\";
    return head + names + (trailing ? "\\" : "");
}

// The local path a root reaches: a drive letter, its subst folder, a known
// share, or the drive behind "\\?\C:" and "\\.\C:". Empty when none.
std::string LocalRoot(const std::string& root) {
    std::string upper = Upper(root);
    if (upper.size() == 2 && isalpha((unsigned char)upper[0]) && upper[1] == ':') {
        auto subst = substs.find(upper[0]);
        return subst == substs.end() ? upper : subst->second;
    }
    for (const char* prefix : {"\\\\?\\", "\\\\.\\"})
        if (upper.compare(0, 4, prefix) == 0 && upper.size() == 6 && upper[5] == ':')
            return LocalRoot(upper.substr(4));
    if (upper.compare(0, 8, "\\\\?\\UNC\\") == 0) return LocalRoot("\\\\" + upper.substr(8));
    auto share = shares.find(upper);
    return share == shares.end() ? "" : share->second;
}

size_t RootLengthOf(const std::string& path) {
    if (Upper(path.substr(0, 8)) == "\\\\?\\UNC\\") return 8 + RootLength("\\\\" + path.substr(8)) - 2;
    if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0)
        return StartsWithDrive(path.substr(4)) ? 6 : 0;
    return RootLength(path);
}

}  // namespace fake_fs

namespace fake {
void AddShare(const std::string& share, const std::string& folder) { shares[Upper(share)] = folder; }
void SetSubstDrive(char letter, const std::string& folder) {
    substs[(char)toupper((unsigned char)letter)] = folder;
}
void SetDriveType(char letter, UINT type) { drive_types[(char)toupper((unsigned char)letter)] = type; }
}  // namespace fake

DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* file_part) {
    fake::LogCall("GetFullPathNameA", path ? path : "");
    if (!path || !*path) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    std::string full = fake_fs::FullPathText(path);
    if (full.size() + 1 > size) return (DWORD)full.size() + 1;
    memcpy(buffer, full.c_str(), full.size() + 1);
    if (file_part) {
        char* slash = strrchr(buffer, '\\');
        *file_part = slash && slash[1] ? slash + 1 : nullptr;
    }
    return (DWORD)full.size();
}

// Every letter is a fixed drive unless a test says otherwise; a share's
// root is remote.
UINT GetDriveTypeA(LPCSTR root) {
    fake::LogCall("GetDriveTypeA", root ? root : "");
    std::string text = root ? root : "";
    if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) return DRIVE_REMOTE;
    if (!StartsWithDrive(text)) return DRIVE_NO_ROOT_DIR;
    auto type = drive_types.find((char)toupper((unsigned char)text[0]));
    return type == drive_types.end() ? DRIVE_FIXED : type->second;
}
