// The fake registry: an in-memory tree with the NT rules the program relies
// on (case-insensitive names, sorted subkey enumeration, values in the order
// written, ERROR_MORE_DATA for short buffers, no deletion of a key that still
// has subkeys) and handles that are counted so a test can see a leak. Links
// are as Windows documents them: a key made with REG_OPTION_CREATE_LINK
// whose "SymbolicLinkValue" (REG_LINK, UTF-16 "\Registry\Machine\...")
// names its target; every open and deletion follows it unless
// REG_OPTION_OPEN_LINK opens the link itself.
#include "fake_world.h"

#include <map>
#include <memory>
#include <string.h>

namespace {

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

struct Value {
    std::string name;
    DWORD type;
    std::string data;  // as stored: narrow bytes, or UTF-16 when `wide`
    bool wide;
};

struct Key {
    std::string name;
    std::string path;  // "HKLM\\A\\B", for failure rules and the log
    Key* parent = nullptr;
    bool deleted = false;
    bool link = false;
    std::vector<Value> values;
    std::map<std::string, std::shared_ptr<Key>, CaseLess> subkeys;
};

std::map<ULONG_PTR, std::shared_ptr<Key>> roots;
std::map<ULONG_PTR, std::shared_ptr<Key>> handles;
ULONG_PTR next_handle;

const struct { ULONG_PTR value; const char* name; } kRoots[] = {
    {0x80000000u, "HKCR"}, {0x80000001u, "HKCU"}, {0x80000002u, "HKLM"}, {0x80000003u, "HKU"}};

fake::ResetHook registry_reset([] {
    handles.clear();
    roots.clear();
    next_handle = 0x1000;
    for (auto& root : kRoots) {
        auto key = std::make_shared<Key>();
        key->name = key->path = root.name;
        roots[root.value] = key;
    }
});

bool IsRoot(HKEY key) { return roots.count((ULONG_PTR)key) != 0; }

Key* KeyOf(HKEY key) {
    auto root = roots.find((ULONG_PTR)key);
    if (root != roots.end()) return root->second.get();
    auto open = handles.find((ULONG_PTR)key);
    return open == handles.end() ? nullptr : open->second.get();
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

Key* Child(Key* key, const std::string& name) {
    auto it = key->subkeys.find(name);
    return it == key->subkeys.end() ? nullptr : it->second.get();
}

std::shared_ptr<Key> Share(Key* key) {
    if (!key->parent) {
        for (auto& root : roots)
            if (root.second.get() == key) return root.second;
    }
    return key->parent->subkeys.at(key->name);
}

Key* NewChild(Key* key, const std::string& part) {
    auto made = std::make_shared<Key>();
    made->name = part;
    made->path = key->path + "\\" + part;
    made->parent = key;
    key->subkeys[part] = made;
    return made.get();
}

LONG Walk(Key* key, LPCSTR sub_key, bool create, Key** found, bool open_link = false, int depth = 0);

// The key a link leads to; null when its target is missing or the chain
// of links is too long (Windows stops after a few as well).
Key* LinkTarget(Key* link, int depth);

// Walks `sub_key` below `key`, creating missing keys when asked; a link is
// followed, except the last one when it is to be opened itself.
LONG Walk(Key* key, LPCSTR sub_key, bool create, Key** found, bool open_link, int depth) {
    if (sub_key && sub_key[0] == '\\') return ERROR_BAD_PATHNAME;
    std::vector<std::string> parts = SplitPath(sub_key ? sub_key : "");
    for (size_t i = 0; i < parts.size(); ++i) {
        Key* next = Child(key, parts[i]);
        if (!next && !create) return ERROR_FILE_NOT_FOUND;
        if (!next) next = NewChild(key, parts[i]);
        if (next->link && !(open_link && i + 1 == parts.size())) next = LinkTarget(next, depth);
        if (!next) return ERROR_FILE_NOT_FOUND;
        key = next;
    }
    *found = key;
    return ERROR_SUCCESS;
}

std::string TargetPath(HKEY key, LPCSTR sub_key) {
    Key* base = KeyOf(key);
    std::string path = base ? base->path : "?";
    if (sub_key && *sub_key) path += std::string("\\") + sub_key;
    return path;
}

HKEY NewHandle(Key* key) {
    ULONG_PTR handle = next_handle;
    next_handle += 4;
    handles[handle] = Share(key);
    return (HKEY)handle;
}

LONG OpenOrCreate(const char* api, HKEY key, LPCSTR sub_key, bool create, PHKEY result,
                  DWORD options = 0) {
    std::string target = TargetPath(key, sub_key);
    fake::LogCall(api, target);
    if (LONG error = (LONG)fake::InjectedFailure(api, target)) return error;
    Key* base = KeyOf(key);
    if (!base) return ERROR_INVALID_HANDLE;
    if (base->deleted) return ERROR_KEY_DELETED;
    bool make_link = create && (options & REG_OPTION_CREATE_LINK);
    Key* found = nullptr;
    bool existed = make_link && Walk(base, sub_key, false, &found, true) == ERROR_SUCCESS;
    bool open_link = (options & (REG_OPTION_OPEN_LINK | REG_OPTION_CREATE_LINK)) != 0;
    if (LONG error = Walk(base, sub_key, create, &found, open_link)) return error;
    if (make_link && !existed) found->link = true;
    *result = NewHandle(found);
    return ERROR_SUCCESS;
}

Value* FindValue(Key* key, LPCSTR name) {
    std::string wanted = name ? name : "";
    for (auto& value : key->values)
        if (fake::SameName(value.name, wanted)) return &value;
    return nullptr;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// What a narrow query returns: UTF-16 text is narrowed (the fake's code page
// is taken as Latin-1), everything else as stored.
std::string NarrowData(const Value& value) {
    if (!value.wide || !IsText(value.type)) return value.data;
    std::string out;
    for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
        unsigned unit = (unsigned char)value.data[i] | ((unsigned char)value.data[i + 1] << 8);
        out += unit < 256 ? (char)unit : '?';
    }
    return out;
}

std::string WideData(const Value& value) {
    if (value.wide || !IsText(value.type)) return value.data;
    std::string out;
    for (char c : value.data) {
        out += c;
        out += '\0';
    }
    return out;
}

// Copies data out with the Win32 size protocol.
LONG CopyData(const std::string& data, LPBYTE out, LPDWORD out_size) {
    if (!out_size) return out ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    DWORD available = *out_size;
    *out_size = (DWORD)data.size();
    if (!out) return ERROR_SUCCESS;
    if (data.size() > available) return ERROR_MORE_DATA;
    memcpy(out, data.data(), data.size());
    return ERROR_SUCCESS;
}

// Copies a name into a buffer of `size` characters, terminator included.
LONG CopyName(const std::string& name, LPSTR out, DWORD size) {
    if (name.size() + 1 > size) return ERROR_MORE_DATA;
    memcpy(out, name.c_str(), name.size() + 1);
    return ERROR_SUCCESS;
}

// Common start of every call on an open key: log, injected failure, handle.
LONG Enter(const char* api, HKEY key, Key** found, const std::string& detail = "") {
    Key* target = KeyOf(key);
    std::string subject = target ? target->path : "?";
    fake::LogCall(api, detail.empty() ? subject : subject + " " + detail);
    if (LONG error = (LONG)fake::InjectedFailure(api, subject)) return error;
    if (!target) return ERROR_INVALID_HANDLE;
    if (target->deleted) return ERROR_KEY_DELETED;
    *found = target;
    return ERROR_SUCCESS;
}

std::string Narrow(LPCWSTR name) {
    std::string out;
    for (; name && *name; ++name) out += *name < 256 ? (char)*name : '?';
    return out;
}

void RemoveSubtree(Key* key) {
    key->deleted = true;
    for (auto& child : key->subkeys) RemoveSubtree(child.second.get());
}

Key* LinkTarget(Key* link, int depth) {
    Value* value = FindValue(link, "SymbolicLinkValue");
    if (!value || value->type != REG_LINK || depth > 8) return nullptr;
    std::string target;
    for (size_t i = 0; i + 1 < value->data.size(); i += 2) target += value->data[i];
    static const struct { const char* prefix; ULONG_PTR root; } kNative[] = {
        {"\\Registry\\Machine\\", 0x80000002u}, {"\\Registry\\User\\", 0x80000003u}};
    for (auto& native : kNative) {
        size_t length = strlen(native.prefix);
        if (strncasecmp(target.c_str(), native.prefix, length) != 0) continue;
        Key* found = nullptr;
        if (Walk(roots[native.root].get(), target.c_str() + length, false, &found, false, depth + 1))
            return nullptr;
        return found;
    }
    return nullptr;
}

HKEY RootByName(const std::string& name) {
    for (auto& root : kRoots)
        if (fake::SameName(name, root.name)) return (HKEY)root.value;
    return nullptr;
}

// Finds or makes the key at a "HKLM\\A\\B" path for the seeding helpers.
Key* SeedPath(const std::string& path, bool create, bool open_link = false) {
    size_t slash = path.find('\\');
    HKEY root = RootByName(path.substr(0, slash));
    if (!root) return nullptr;
    Key* found = nullptr;
    std::string rest = slash == std::string::npos ? "" : path.substr(slash + 1);
    if (Walk(KeyOf(root), rest.c_str(), create, &found, open_link) != ERROR_SUCCESS) return nullptr;
    return found;
}

void SetValue(Key* key, const std::string& name, DWORD type, const std::string& data, bool wide) {
    Value* value = FindValue(key, name.c_str());
    if (value) {
        *value = {value->name, type, data, wide};
        return;
    }
    key->values.push_back({name, type, data, wide});
}

void Dump(const Key* key, std::vector<std::string>* lines) {
    lines->push_back(key->path + "\\");
    for (auto& value : key->values)
        lines->push_back(key->path + " [" + value.name + "]=" + std::to_string(value.type) + ":" +
                         NarrowData(value));
    for (auto& child : key->subkeys) Dump(child.second.get(), lines);
}

}  // namespace

LONG RegOpenKeyA(HKEY key, LPCSTR sub_key, PHKEY result) {
    // An empty sub-key hands back the key itself, as Windows does.
    if ((!sub_key || !*sub_key) && KeyOf(key)) {
        std::string target = TargetPath(key, sub_key);
        fake::LogCall("RegOpenKeyA", target);
        if (LONG error = (LONG)fake::InjectedFailure("RegOpenKeyA", target)) return error;
        *result = key;
        return ERROR_SUCCESS;
    }
    return OpenOrCreate("RegOpenKeyA", key, sub_key, false, result);
}

LONG RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD options, REGSAM, PHKEY result) {
    return OpenOrCreate("RegOpenKeyExA", key, sub_key, false, result, options);
}

LONG RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD, LPSTR, DWORD options, REGSAM,
                     LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    bool existed = KeyOf(key) && SeedPath(TargetPath(key, sub_key), false);
    LONG error = OpenOrCreate("RegCreateKeyExA", key, sub_key, true, result, options);
    if (error == ERROR_SUCCESS && disposition)
        *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    return error;
}

// An injected failure still releases the handle, so that a test of a failed
// close can also check that nothing is left open.
LONG RegCloseKey(HKEY key) {
    Key* target = KeyOf(key);
    std::string subject = target ? target->path : "?";
    fake::LogCall("RegCloseKey", subject);
    LONG injected = (LONG)fake::InjectedFailure("RegCloseKey", subject);
    if (IsRoot(key)) return injected;
    if (!handles.erase((ULONG_PTR)key)) return ERROR_INVALID_HANDLE;
    return injected;
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD data_size) {
    Key* target = nullptr;
    if (LONG error = Enter("RegQueryValueExA", key, &target, name ? name : "")) return error;
    Value* value = FindValue(target, name);
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    return CopyData(NarrowData(*value), data, data_size);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data,
                      LPDWORD data_size) {
    Key* target = nullptr;
    std::string narrow = Narrow(name);
    if (LONG error = Enter("RegQueryValueExW", key, &target, narrow)) return error;
    Value* value = FindValue(target, narrow.c_str());
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    return CopyData(WideData(*value), data, data_size);
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    Key* target = nullptr;
    if (LONG error = Enter("RegSetValueExA", key, &target, name ? name : "")) return error;
    SetValue(target, name ? name : "", type, std::string((const char*)data, size), false);
    return ERROR_SUCCESS;
}

LONG RegDeleteValueA(HKEY key, LPCSTR name) {
    Key* target = nullptr;
    if (LONG error = Enter("RegDeleteValueA", key, &target, name ? name : "")) return error;
    Value* value = FindValue(target, name);
    if (!value) return ERROR_FILE_NOT_FOUND;
    target->values.erase(target->values.begin() + (value - &target->values[0]));
    return ERROR_SUCCESS;
}

// The NT rule: a key that still has subkeys is not deleted.
LONG RegDeleteKeyA(HKEY key, LPCSTR sub_key) {
    std::string target_path = TargetPath(key, sub_key);
    fake::LogCall("RegDeleteKeyA", target_path);
    if (LONG error = (LONG)fake::InjectedFailure("RegDeleteKeyA", target_path)) return error;
    Key* base = KeyOf(key);
    if (!base) return ERROR_INVALID_HANDLE;
    Key* target = nullptr;
    if (LONG error = Walk(base, sub_key, false, &target)) return error;
    if (!target->parent || target == base) return ERROR_ACCESS_DENIED;
    if (!target->subkeys.empty()) return ERROR_ACCESS_DENIED;
    RemoveSubtree(target);
    target->parent->subkeys.erase(target->name);
    return ERROR_SUCCESS;
}

LONG RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD name_size) {
    Key* target = nullptr;
    if (LONG error = Enter("RegEnumKeyA", key, &target, std::to_string(index))) return error;
    if (index >= target->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    auto it = target->subkeys.begin();
    std::advance(it, index);
    return CopyName(it->first, name, name_size);
}

LONG RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD,
                   LPDWORD type, LPBYTE data, LPDWORD data_size) {
    Key* target = nullptr;
    if (LONG error = Enter("RegEnumValueA", key, &target, std::to_string(index))) return error;
    if (index >= target->values.size()) return ERROR_NO_MORE_ITEMS;
    const Value& value = target->values[index];
    if (LONG error = CopyName(value.name, name, *name_size)) return error;
    *name_size = (DWORD)value.name.size();
    if (type) *type = value.type;
    return CopyData(NarrowData(value), data, data_size);
}

namespace fake {

void RegSeedKey(const std::string& path) { SeedPath(path, true); }

void RegSeedString(const std::string& key_path, const std::string& name,
                   const std::string& text) {
    SetValue(SeedPath(key_path, true), name, REG_SZ, text + std::string(1, '\0'), false);
}

void RegSeedBytes(const std::string& key_path, const std::string& name, DWORD type,
                  const std::string& bytes) {
    SetValue(SeedPath(key_path, true), name, type, bytes, false);
}

void RegSeedWideString(const std::string& key_path, const std::string& name,
                       const std::u16string& text) {
    std::string bytes;
    for (char16_t unit : text + u'\0') {
        bytes += (char)(unit & 0xFF);
        bytes += (char)(unit >> 8);
    }
    SetValue(SeedPath(key_path, true), name, REG_SZ, bytes, true);
}

void RegSeedLink(const std::string& path, const std::string& target) {
    Key* link = SeedPath(path, true);
    link->link = true;
    std::string native = "\\Registry\\" + std::string(target.compare(0, 4, "HKU\\") ? "Machine" : "User") +
                         target.substr(target.find('\\'));
    std::string bytes;
    for (char c : native) bytes += std::string{c, '\0'};
    SetValue(link, "SymbolicLinkValue", REG_LINK, bytes, false);
}

bool RegIsLink(const std::string& path) {
    Key* key = SeedPath(path, false, true);
    return key && key->link;
}

bool RegKeyExists(const std::string& path) { return SeedPath(path, false) != nullptr; }

bool RegValueExists(const std::string& key_path, const std::string& name) {
    Key* key = SeedPath(key_path, false);
    return key && FindValue(key, name.c_str());
}

std::string RegValueBytes(const std::string& key_path, const std::string& name) {
    Key* key = SeedPath(key_path, false);
    Value* value = key ? FindValue(key, name.c_str()) : nullptr;
    return value ? value->data : std::string();
}

std::vector<std::string> RegDump(const std::string& path) {
    std::vector<std::string> lines;
    if (Key* key = SeedPath(path, false)) Dump(key, &lines);
    return lines;
}

int OpenKeyCount() { return (int)handles.size(); }

}  // namespace fake
