// The fake file system: folders and files with contents and attributes, a
// "locked" flag for files Windows will not delete now, 8.3 short names,
// searches with Windows' wildcard rules, deletion and deferred deletion.
// Paths are resolved as Windows resolves them ("." and ".." components,
// repeated and trailing separators) and compared case-insensitively.
#include "fake_file_system.h"

#include <ctype.h>
#include <string.h>

#include <map>

#include "fake_world.h"

using fake_fs::FullPathText;
using fake_fs::LocalRoot;
using fake_fs::RootLengthOf;

namespace {

struct Node {
    std::string path;  // canonical, in the case it was created with
    DWORD attributes;
    std::string data;
    bool locked;
    std::string short_name;
    DWORD index;              // the file's index on its volume
    std::string link_target;  // a link (a junction): the folder it leads to
};

struct Search {
    std::vector<WIN32_FIND_DATAA> found;
    size_t next;
};

std::map<std::string, Node> nodes;  // by upper-case canonical path
std::map<void*, Search> searches;
std::vector<std::string> pending_deletes;
bool adding_system_folders;
DWORD next_index;
bool wow64;
bool redirection_off;

std::string Upper(std::string text) {
    for (auto& c : text) c = (char)toupper((unsigned char)c);
    return text;
}

std::string ParentOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsRoot(const std::string& canonical) { return canonical.size() == 2; }

Node& AddNode(const std::string& canonical, DWORD attributes);

// The Windows and system directories are folders whatever a test set them
// to; relative settings name no folder.
void AddSystemFolders() {
    if (adding_system_folders) return;
    adding_system_folders = true;
    std::string canonical;
    for (const std::string& dir : {fake::WindowsDirectory(), fake::SystemDirectory()})
        if (fake_fs::Canonical(dir, &canonical) && !IsRoot(canonical))
            AddNode(canonical, FILE_ATTRIBUTE_DIRECTORY);
    adding_system_folders = false;
}

Node* Lookup(const std::string& path) {
    AddSystemFolders();
    std::string canonical;
    if (!fake_fs::Canonical(path, &canonical)) return nullptr;
    auto it = nodes.find(Upper(canonical));
    return it == nodes.end() ? nullptr : &it->second;
}

bool IsDirectory(const std::string& canonical) {
    if (IsRoot(canonical)) return true;
    AddSystemFolders();
    auto it = nodes.find(Upper(canonical));
    return it != nodes.end() && (it->second.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<Node*> ChildrenOf(const std::string& canonical) {
    AddSystemFolders();
    std::vector<Node*> children;
    std::string parent = Upper(canonical);
    for (auto& entry : nodes)
        if (ParentOf(entry.first) == parent) children.push_back(&entry.second);
    return children;
}

// --- 8.3 names ---

bool IsShortNameChar(char c) {
    return c > ' ' && (unsigned char)c < 0x80 && !strchr("\"*+,/:;<=>?[\\]|.", c);
}

bool IsValidShortName(const std::string& name) {
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    if (dot != std::string::npos && ext.empty()) return false;
    for (char c : base + ext)
        if (!IsShortNameChar(c)) return false;
    return true;
}

std::string ShortStem(const std::string& text, size_t limit) {
    std::string stem;
    for (char c : text)
        if (IsShortNameChar(c) && stem.size() < limit) stem += (char)toupper((unsigned char)c);
    return stem;
}

bool ShortNameTaken(const std::string& parent, const std::string& short_name) {
    for (Node* sibling : ChildrenOf(parent))
        if (fake::SameName(sibling->short_name, short_name)) return true;
    return false;
}

// Base cut to six characters, "~n", and the extension cut to three.
std::string MakeShortName(const std::string& parent, const std::string& name) {
    if (IsValidShortName(name)) return Upper(name);
    size_t dot = name.rfind('.');
    std::string base = ShortStem(name.substr(0, dot), 6);
    std::string ext = dot == std::string::npos ? "" : ShortStem(name.substr(dot + 1), 3);
    if (base.empty()) base = "FILE";
    for (int n = 1;; ++n) {
        std::string candidate = base + "~" + std::to_string(n) + (ext.empty() ? "" : "." + ext);
        if (!ShortNameTaken(parent, candidate)) return candidate;
    }
}

Node& AddNode(const std::string& canonical, DWORD attributes) {
    std::string key = Upper(canonical);
    auto it = nodes.find(key);
    if (it != nodes.end()) return it->second;
    std::string parent = ParentOf(canonical);
    if (!IsRoot(parent) && !IsDirectory(parent)) AddNode(parent, FILE_ATTRIBUTE_DIRECTORY);
    Node node{canonical, attributes, "", false, MakeShortName(parent, NameOf(canonical)),
              ++next_index, ""};
    return nodes[key] = node;
}

// A test that names a relative path has a fault of its own.
std::string CanonicalOrDie(const std::string& path) {
    std::string canonical;
    if (!fake_fs::Canonical(path, &canonical)) abort();
    return canonical;
}

// --- Windows' wildcard rules: '*' any run, '?' one character (or none at
// the end), a '.' before a wildcard or at the end also matches the end of a
// name without extension, and a '*' before a '.' never takes the name's
// last dot ("*." matches only names without an extension). ---

bool Match(const char* pattern, const char* name, const char* last_dot);

bool MatchStar(const char* pattern, const char* name, const char* last_dot) {
    bool dos_star = pattern[1] == '.';
    for (const char* rest = name;; ++rest) {
        if (dos_star && last_dot && rest > last_dot) return false;
        if (Match(pattern + 1, rest, last_dot)) return true;
        if (!*rest) return false;
    }
}

bool Match(const char* pattern, const char* name, const char* last_dot) {
    if (!*pattern) return !*name;
    if (*pattern == '*') return MatchStar(pattern, name, last_dot);
    if (*pattern == '?') return Match(pattern + 1, *name ? name + 1 : name, last_dot);
    if (*pattern == '.' && !*name) {
        char next = pattern[1];
        if (next == 0 || next == '*' || next == '?') return Match(pattern + 1, name, last_dot);
    }
    if (toupper((unsigned char)*pattern) != toupper((unsigned char)*name)) return false;
    return Match(pattern + 1, name + 1, last_dot);
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
    if (pattern == "*.*") return true;
    return Match(pattern.c_str(), name.c_str(), strrchr(name.c_str(), '.'));
}

WIN32_FIND_DATAA FindData(const std::string& name, DWORD attributes, const Node* node) {
    WIN32_FIND_DATAA data;
    memset(&data, 0, sizeof data);
    data.dwFileAttributes = attributes;
    lstrcpynA(data.cFileName, name.c_str(), sizeof data.cFileName);
    if (node) {
        data.nFileSizeLow = (DWORD)node->data.size();
        if (node->short_name != name)
            lstrcpynA(data.cAlternateFileName, node->short_name.c_str(),
                      sizeof data.cAlternateFileName);
    }
    return data;
}

// "." and ".." come first in every folder but a drive's root. A name matches
// by its long or its 8.3 form, as Windows matches both.
std::vector<WIN32_FIND_DATAA> FindMatches(const std::string& folder, const std::string& pattern) {
    std::vector<WIN32_FIND_DATAA> found;
    if (!IsRoot(folder))
        for (const char* dots : {".", ".."})
            if (MatchesPattern(pattern, dots))
                found.push_back(FindData(dots, FILE_ATTRIBUTE_DIRECTORY, nullptr));
    for (Node* child : ChildrenOf(folder)) {
        std::string name = NameOf(child->path);
        bool short_match = child->short_name != name && MatchesPattern(pattern, child->short_name);
        if (MatchesPattern(pattern, name) || short_match)
            found.push_back(FindData(name, child->attributes, child));
    }
    return found;
}

DWORD MissingError(const std::string& path) {
    std::string canonical;
    if (!fake_fs::Canonical(path, &canonical)) return ERROR_PATH_NOT_FOUND;
    return IsDirectory(ParentOf(canonical)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Where the program's own call for `path` lands: under WOW64 the system
// directory is SysWOW64 while the redirection is on.
std::string ViewOf(const std::string& path) {
    std::string canonical, system;
    if (!wow64 || redirection_off || !fake_fs::Canonical(path, &canonical) ||
        !fake_fs::Canonical(fake::SystemDirectory(), &system))
        return path;
    std::string head = canonical.substr(0, system.size());
    bool below = fake::SameName(head, system) &&
                 (canonical.size() == system.size() || canonical[system.size()] == '\\');
    return below ? fake::WindowsDirectory() + "\\SysWOW64" + canonical.substr(system.size()) : path;
}

fake::ResetHook files_reset([] {
    wow64 = false;
    redirection_off = false;
    nodes.clear();
    next_index = 0x100;
    searches.clear();
    pending_deletes.clear();
});

// "C:" and the names after it; a verbatim path's "." or ".." names nothing.
bool SplitNames(const std::string& path, bool verbatim, std::vector<std::string>* parts) {
    parts->assign(1, path.substr(0, 2));
    (*parts)[0][0] = (char)toupper((unsigned char)(*parts)[0][0]);
    size_t start = 2;
    while (start < path.size()) {
        size_t end = path.find_first_of("\\/", start + 1);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start + 1, end - start - 1);
        start = end;
        if (verbatim && (part == "." || part == "..")) return false;
        if (!part.empty()) parts->push_back(part);
    }
    return true;
}

std::string Joined(const std::vector<std::string>& parts, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to; ++i) text += (i ? "\\" : "") + parts[i];
    return text;
}

// A name given in its 8.3 form ("PROGRA~1") is the file or folder of that
// short name, as Windows takes it.
void LongNames(std::vector<std::string>& parts) {
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].find('~') == std::string::npos || nodes.count(Upper(Joined(parts, 0, i + 1))))
            continue;
        for (Node* child : ChildrenOf(Joined(parts, 0, i)))
            if (fake::SameName(child->short_name, parts[i])) parts[i] = NameOf(child->path);
    }
}

// The link at a folder on the way (not the last name) leads to its target;
// a loop of links names nothing.
bool FollowLinks(std::vector<std::string> parts, std::string* canonical) {
    for (int hops = 0; hops < 16; ++hops) {
        LongNames(parts);
        size_t link = 0;
        for (size_t i = 1; i + 1 < parts.size() && !link; ++i) {
            auto it = nodes.find(Upper(Joined(parts, 0, i + 1)));
            if (it != nodes.end() && !it->second.link_target.empty()) link = i;
        }
        if (!link) {
            *canonical = Joined(parts, 0, parts.size());
            return true;
        }
        std::string target = nodes[Upper(Joined(parts, 0, link + 1))].link_target;
        std::string rest = Joined(parts, link + 1, parts.size());
        if (!SplitNames(target + "\\" + rest, false, &parts)) return false;
    }
    return false;
}

}  // namespace

// A link named last leads on too, where a folder is opened or searched.
bool Followed(std::string* canonical) {
    for (int hops = 0; hops < 16; ++hops) {
        auto it = nodes.find(Upper(*canonical));
        if (it == nodes.end() || it->second.link_target.empty()) return true;
        if (!fake_fs::Canonical(it->second.link_target, canonical)) return false;
    }
    return false;
}

// --- The interface to the other fake groups ---

namespace fake_fs {

// The text as GetFullPathNameA resolves it (a "\\?\" path as it is, where
// "." and ".." name nothing), its root taken to the local folder it reaches
// and each link on the way followed.
bool Canonical(const std::string& path, std::string* canonical) {
    size_t root = RootLengthOf(path);
    bool drive_relative = root == 2 && path.size() > 2 && path[2] != '\\' && path[2] != '/';
    if (root == 0 || drive_relative) return false;
    bool verbatim = path.compare(0, 4, "\\\\?\\") == 0;
    std::string text = verbatim ? path : FullPathText(path);
    root = RootLengthOf(text);
    std::string local = LocalRoot(text.substr(0, root));
    if (local.empty()) return false;
    std::vector<std::string> parts;
    if (!SplitNames(local + "\\" + text.substr(root), verbatim, &parts)) return false;
    return FollowLinks(parts, canonical);
}

bool IsFile(const std::string& path) {
    Node* node = Lookup(path);
    return node && !(node->attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadFile(const std::string& path, std::string* data) {
    if (!IsFile(path)) return false;
    *data = Lookup(path)->data;
    return true;
}

DWORD WriteFile(const std::string& path, const std::string& data) {
    std::string canonical;
    if (!Canonical(path, &canonical) || IsRoot(canonical)) return ERROR_PATH_NOT_FOUND;
    if (!IsDirectory(ParentOf(canonical))) return ERROR_PATH_NOT_FOUND;
    Node* node = Lookup(canonical);
    if (node && ((node->attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) ||
                 node->locked))
        return ERROR_ACCESS_DENIED;
    AddNode(canonical, FILE_ATTRIBUTE_ARCHIVE).data = data;
    return 0;
}

void SetContents(const std::string& path, const std::string& data) {
    if (IsFile(path)) Lookup(path)->data = data;
}

bool Exists(const std::string& path) { return Lookup(path) != nullptr; }

// A link the system does not mark (Wine's Unix links) is followed even
// where the link itself is asked for.
bool Resolve(const std::string& path, bool follow_last, std::string* canonical) {
    if (!Canonical(path, canonical)) return false;
    auto it = nodes.find(Upper(*canonical));
    bool marked = it != nodes.end() && (it->second.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    return (!follow_last && marked) || Followed(canonical);
}

std::string ViewOf(const std::string& path) { return ::ViewOf(path); }

DWORD DeletionRefused(const std::string& object) {
    Node* node = Lookup(object);
    if (!node) return ERROR_FILE_NOT_FOUND;
    if (node->attributes & FILE_ATTRIBUTE_DIRECTORY)
        return ChildrenOf(node->path).empty() ? 0 : ERROR_DIR_NOT_EMPTY;
    return (node->attributes & FILE_ATTRIBUTE_READONLY) || node->locked ? ERROR_ACCESS_DENIED : 0;
}

void Remove(const std::string& object) { nodes.erase(Upper(object)); }

// A drive's serial is made from its letter, so that a subst drive or a
// share reaches the same volume as the folder behind it.
bool ObjectIdentity(const std::string& canonical, DWORD* attributes, DWORD* volume, DWORD* index) {
    *volume = 0x5EED0000u | (DWORD)(unsigned char)canonical[0];
    if (IsRoot(canonical)) {
        *attributes = FILE_ATTRIBUTE_DIRECTORY;
        *index = 5;  // NTFS's root folder
        return true;
    }
    auto it = nodes.find(Upper(canonical));
    if (it == nodes.end()) return false;
    *attributes = it->second.attributes;
    *index = it->second.index;
    return true;
}

bool IsFolder(const std::string& path) {
    std::string canonical;
    return Canonical(path, &canonical) && Followed(&canonical) && IsDirectory(canonical);
}

bool WriteRefused(const std::string& path) {
    Node* node = Lookup(path);
    return node && ((node->attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) ||
                    node->locked);
}

}  // namespace fake_fs

// --- Test controls ---

namespace fake {

void AddDirectory(const std::string& path) {
    std::string canonical = CanonicalOrDie(path);
    if (!IsRoot(canonical)) AddNode(canonical, FILE_ATTRIBUTE_DIRECTORY);
}

void AddFile(const std::string& path, const std::string& contents, DWORD attributes) {
    std::string canonical = CanonicalOrDie(path);
    if (IsRoot(canonical)) abort();
    Node& node = AddNode(canonical, attributes);
    node.attributes = attributes;
    node.data = contents;
}

void AddFile(const std::string& path) { AddFile(path, ""); }

void SetFileLocked(const std::string& path, bool locked) {
    if (Node* node = Lookup(path)) node->locked = locked;
}

void AddLink(const std::string& path, const std::string& target) {
    std::string canonical = CanonicalOrDie(path);
    Node& node = AddNode(canonical, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
    node.attributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    node.link_target = target;
}

void AddFileLink(const std::string& path, const std::string& target) {
    Node& node = AddNode(CanonicalOrDie(path), FILE_ATTRIBUTE_REPARSE_POINT);
    node.attributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT;
    node.link_target = target;
}

// The folder and everything below it move to "<folder>.moved"; the link
// takes its name.
bool SwapFolderForLink(const std::string& path, const std::string& target, bool marked,
                       bool despite_holds) {
    std::string folder = CanonicalOrDie(path), key = Upper(folder);
    if (!despite_holds && fake_fs::HeldAgainstRename(folder)) return false;
    std::map<std::string, Node> moved;
    for (auto it = nodes.begin(); it != nodes.end();) {
        bool below = it->first == key || it->first.compare(0, key.size() + 1, key + "\\") == 0;
        if (!below) { ++it; continue; }
        Node node = it->second;
        node.path = folder + ".moved" + node.path.substr(folder.size());
        moved[Upper(node.path)] = node;
        it = nodes.erase(it);
    }
    nodes.insert(moved.begin(), moved.end());
    AddLink(path, target);
    if (!marked) nodes[key].attributes = FILE_ATTRIBUTE_DIRECTORY;
    return true;
}

void SetShortName(const std::string& path, const std::string& short_name) {
    if (Node* node = Lookup(path)) node->short_name = short_name;
}

bool FileExists(const std::string& path) { return fake_fs::IsFile(path); }

bool DirectoryExists(const std::string& path) {
    std::string canonical;
    return fake_fs::Canonical(path, &canonical) && IsDirectory(canonical);
}

std::string FileContents(const std::string& path) {
    Node* node = Lookup(path);
    return node ? node->data : "";
}

DWORD FileAttributesOf(const std::string& path) {
    Node* node = Lookup(path);
    return node ? node->attributes : INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FileDump() {
    std::vector<std::string> lines;
    for (auto& entry : nodes)
        lines.push_back(entry.second.path + " attr=" + std::to_string(entry.second.attributes) +
                        " size=" + std::to_string(entry.second.data.size()));
    return lines;
}

std::vector<std::string> PendingDeletes() { return pending_deletes; }

void SetWow64(bool on) { wow64 = on; }

}  // namespace fake

// --- The restart ---

namespace {

// The real-mode reader of WININIT.INI knows each component by its 8.3 name.
Node* LookupByShortNames(const std::string& path) {
    if (path.size() < 3 || path[1] != ':') return nullptr;
    std::string canonical = FullPathText(path);
    if (canonical.back() == '\\') canonical.pop_back();
    std::vector<std::string> parts;
    SplitNames(canonical, false, &parts);
    std::string folder = canonical.substr(0, 2);
    Node* node = nullptr;
    for (size_t i = 1; i < parts.size(); ++i) {
        node = nullptr;
        for (Node* child : ChildrenOf(folder))
            if (fake::SameName(child->short_name, parts[i])) node = child;
        if (!node) return nullptr;
        folder = node->path;
    }
    return node;
}

bool RemoveAtStart(Node* node) {
    if (!node) return false;
    if ((node->attributes & FILE_ATTRIBUTE_DIRECTORY) && !ChildrenOf(node->path).empty())
        return false;
    nodes.erase(Upper(node->path));
    return true;
}

std::vector<std::string> WininitDeletions(const std::string& text) {
    std::vector<std::string> paths;
    bool in_rename = false;
    for (const std::string& line : fake::TextLines(text)) {
        if (!line.empty() && line[0] == '[') in_rename = fake::SameName(line, "[rename]");
        else if (in_rename && line.size() > 4 && fake::SameName(line.substr(0, 4), "NUL="))
            paths.push_back(line.substr(4));
    }
    return paths;
}

}  // namespace

namespace fake {

std::vector<std::string> RestartWindows() {
    std::vector<std::string> unresolved;
    if (CurrentWindowsVersion().platform == VER_PLATFORM_WIN32_NT) {
        for (auto& path : pending_deletes)
            if (!RemoveAtStart(Lookup(path))) unresolved.push_back(path);
        pending_deletes.clear();
        return unresolved;
    }
    std::string wininit = WindowsDirectory() + "\\WININIT.INI";
    Node* file = Lookup(wininit);
    if (!file) return unresolved;
    std::string text = file->data;
    nodes.erase(Upper(wininit));
    for (auto& path : WininitDeletions(text))
        if (!RemoveAtStart(LookupByShortNames(path))) unresolved.push_back(path);
    AddFile(WindowsDirectory() + "\\WININIT.BAK", text);
    return unresolved;
}

}  // namespace fake

// --- The Win32 functions ---

HANDLE FindFirstFileA(LPCSTR given, LPWIN32_FIND_DATAA data) {
    fake::LogCall("FindFirstFileA", given);
    std::string viewed = ViewOf(given);
    const char* pattern = viewed.c_str();
    if (DWORD error = fake::InjectedFailure("FindFirstFileA", pattern)) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    std::string text = pattern, folder;
    size_t slash = text.find_last_of("\\/");
    DWORD error = 0;
    if (slash == std::string::npos || !fake_fs::Canonical(text.substr(0, slash), &folder) ||
        !Followed(&folder) || !IsDirectory(folder))
        error = ERROR_PATH_NOT_FOUND;
    std::vector<WIN32_FIND_DATAA> found;
    if (!error) found = FindMatches(folder, text.substr(slash + 1));
    if (!error && found.empty()) error = ERROR_FILE_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    void* handle = fake::OpenHandle("find");
    *data = found[0];
    searches[handle] = {found, 1};
    return handle;
}

BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data) {
    fake::LogCall("FindNextFileA", "");
    auto it = searches.find(find);
    if (it == searches.end()) return Fail(ERROR_INVALID_HANDLE);
    if (DWORD error = fake::InjectedFailure("FindNextFileA", "")) return Fail(error);
    Search& search = it->second;
    if (search.next >= search.found.size()) return Fail(ERROR_NO_MORE_FILES);
    *data = search.found[search.next++];
    return TRUE;
}

BOOL FindClose(HANDLE find) {
    fake::LogCall("FindClose", "");
    if (!fake::CloseHandleOf(find, "find")) return Fail(ERROR_INVALID_HANDLE);
    searches.erase(find);
    return TRUE;
}

DWORD GetFileAttributesA(LPCSTR path) {
    fake::LogCall("GetFileAttributesA", path);
    std::string viewed_path = ViewOf(path);
    path = viewed_path.c_str();
    if (DWORD error = fake::InjectedFailure("GetFileAttributesA", path)) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string canonical;
    if (fake_fs::Canonical(path, &canonical) && IsRoot(canonical)) return FILE_ATTRIBUTE_DIRECTORY;
    Node* node = Lookup(path);
    if (node) return node->attributes;
    SetLastError(MissingError(path));
    return INVALID_FILE_ATTRIBUTES;
}

// The folder bit cannot be changed; no attribute left means "normal".
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
    fake::LogCall("SetFileAttributesA", path);
    std::string viewed_path = ViewOf(path);
    path = viewed_path.c_str();
    if (DWORD error = fake::InjectedFailure("SetFileAttributesA", path)) return Fail(error);
    Node* node = Lookup(path);
    if (!node) return Fail(MissingError(path));
    DWORD kept = node->attributes & FILE_ATTRIBUTE_DIRECTORY;
    attributes &= ~(DWORD)(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL);
    node->attributes = kept | attributes;
    if (!node->attributes) node->attributes = FILE_ATTRIBUTE_NORMAL;
    return TRUE;
}

// A folder, a read-only file and a locked file are refused with access
// denied, as Windows refuses them.
BOOL DeleteFileA(LPCSTR path) {
    fake::LogCall("DeleteFileA", path);
    std::string viewed_path = ViewOf(path);
    path = viewed_path.c_str();
    if (DWORD error = fake::InjectedFailure("DeleteFileA", path)) return Fail(error);
    Node* node = Lookup(path);
    if (!node) return Fail(MissingError(path));
    if ((node->attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) || node->locked)
        return Fail(ERROR_ACCESS_DENIED);
    nodes.erase(Upper(node->path));
    return TRUE;
}

// Windows 9x has the function but does not implement it.
// The deletion at the restart is carried out natively, by the path as
// given: WOW64 does not redirect what goes into the list.
BOOL MoveFileExA(LPCSTR existing, LPCSTR replacement, DWORD flags) {
    std::string subject = existing ? existing : "";
    fake::LogCall("MoveFileExA", subject + " -> " + (replacement ? replacement : "(null)") +
                                     " flags=" + std::to_string(flags));
    if (DWORD error = fake::InjectedFailure("MoveFileExA", subject)) return Fail(error);
    if (fake::CurrentWindowsVersion().platform != VER_PLATFORM_WIN32_NT)
        return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    if (!(flags & MOVEFILE_DELAY_UNTIL_REBOOT) || replacement) return Fail(ERROR_INVALID_PARAMETER);
    pending_deletes.push_back(subject);
    return TRUE;
}

// A file gives ERROR_DIRECTORY, a folder with something in it
// ERROR_DIR_NOT_EMPTY.
BOOL RemoveDirectoryA(LPCSTR path) {
    fake::LogCall("RemoveDirectoryA", path ? path : "");
    std::string viewed = path ? ViewOf(path) : "";
    if (path) path = viewed.c_str();
    if (DWORD error = fake::InjectedFailure("RemoveDirectoryA", path ? path : "")) return Fail(error);
    Node* node = path ? Lookup(path) : nullptr;
    if (!node) return Fail(path ? MissingError(path) : ERROR_PATH_NOT_FOUND);
    if (!(node->attributes & FILE_ATTRIBUTE_DIRECTORY)) return Fail(ERROR_DIRECTORY);
    if (!ChildrenOf(node->path).empty()) return Fail(ERROR_DIR_NOT_EMPTY);
    nodes.erase(Upper(node->path));
    return TRUE;
}

// Answers the size needed (terminator included) when the buffer is short.
DWORD GetShortPathNameA(LPCSTR long_path, LPSTR short_path, DWORD size) {
    fake::LogCall("GetShortPathNameA", long_path);
    std::string viewed_long_path = ViewOf(long_path);
    long_path = viewed_long_path.c_str();
    if (DWORD error = fake::InjectedFailure("GetShortPathNameA", long_path)) return Fail(error);
    Node* node = Lookup(long_path);
    if (!node) return Fail(MissingError(long_path));
    std::string result;
    for (std::string path = node->path; !IsRoot(path); path = ParentOf(path))
        result = "\\" + Lookup(path)->short_name + result;
    result = node->path.substr(0, 2) + result;
    if (result.size() + 1 > size) return (DWORD)result.size() + 1;
    memcpy(short_path, result.c_str(), result.size() + 1);
    return (DWORD)result.size();
}

// Fails as 32-bit Windows does when the program is not redirected.
BOOL Wow64DisableWow64FsRedirection(PVOID* old_value) {
    fake::LogCall("Wow64DisableWow64FsRedirection", "");
    if (!wow64) return Fail(ERROR_INVALID_FUNCTION);
    *old_value = (PVOID)(ULONG_PTR)(redirection_off ? 1 : 0);
    redirection_off = true;
    return TRUE;
}

BOOL Wow64RevertWow64FsRedirection(PVOID old_value) {
    fake::LogCall("Wow64RevertWow64FsRedirection", "");
    if (!wow64) return Fail(ERROR_INVALID_FUNCTION);
    redirection_off = old_value != nullptr;
    return TRUE;
}

BOOL IsWow64Process(HANDLE, PBOOL wow64_process) {
    fake::LogCall("IsWow64Process", "");
    *wow64_process = wow64 ? TRUE : FALSE;
    return TRUE;
}

// A 32-bit Windows has no such folder and says so.
UINT GetSystemWow64DirectoryA(LPSTR buffer, UINT size) {
    fake::LogCall("GetSystemWow64DirectoryA", "");
    if (!wow64) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return 0;
    }
    std::string folder = fake::WindowsDirectory() + "\\SysWOW64";
    if (folder.size() + 1 > size) return (UINT)folder.size() + 1;
    memcpy(buffer, folder.c_str(), folder.size() + 1);
    return (UINT)folder.size();
}
