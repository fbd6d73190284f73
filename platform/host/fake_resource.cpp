// The fake module's resources: the .res file that windres compiled from the
// product's own resource script, with Windows' language matching (the exact
// language, else the same primary language with sublanguage 0).
#include "fake_world.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#ifndef FAKE_RESOURCE_FILE
#define FAKE_RESOURCE_FILE "uninst.res"
#endif

namespace {

struct Resource {
    std::string type;  // "#6" for an integer id, else the name
    std::string name;
    WORD language;
    std::string data;
};

std::vector<Resource> resources;
bool loaded;
LANGID user_language;

fake::ResetHook resource_reset([] { user_language = 0x0409; });

std::string ReadFile(const char* path) {
    std::string bytes;
    FILE* file = fopen(path, "rb");
    if (!file) return bytes;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

// A type or name in a .res header: 0xFFFF and an ordinal, or a UTF-16 string.
std::string IdAt(const std::string& d, size_t* at) {
    if (fake::LittleWord(d, *at) == 0xFFFF) {
        std::string id = "#" + std::to_string(fake::LittleWord(d, *at + 2));
        *at += 4;
        return id;
    }
    std::string name;
    for (; *at + 2 <= d.size() && fake::LittleWord(d, *at); *at += 2) name += (char)toupper(fake::LittleWord(d, *at) & 0xFF);
    *at += 2;
    return name;
}

void Load() {
    if (loaded) return;
    loaded = true;
    std::string d = ReadFile(FAKE_RESOURCE_FILE);
    for (size_t at = 0; at + 32 <= d.size();) {
        DWORD data_size = fake::LittleDword(d, at), header_size = fake::LittleDword(d, at + 4);
        size_t field = at + 8;
        Resource r;
        r.type = IdAt(d, &field);
        r.name = IdAt(d, &field);
        field = (field + 3) & ~(size_t)3;
        r.language = fake::LittleWord(d, field + 6);
        if (at + header_size + data_size > d.size()) break;
        r.data = d.substr(at + header_size, data_size);
        if (data_size) resources.push_back(r);
        at = (at + header_size + data_size + 3) & ~(size_t)3;
    }
}

std::string IdText(LPCSTR id) {
    if (IS_INTRESOURCE(id)) return "#" + std::to_string((ULONG_PTR)id);
    std::string name;
    for (; *id; ++id) name += (char)toupper((unsigned char)*id);
    return name;
}

int FindExact(const std::string& type, const std::string& name, WORD language) {
    for (size_t i = 0; i < resources.size(); ++i)
        if (resources[i].type == type && resources[i].name == name &&
            resources[i].language == language)
            return (int)i;
    return -1;
}

Resource* Of(HRSRC handle) {
    size_t index = (size_t)(ULONG_PTR)handle;
    return index >= 1 && index <= resources.size() ? &resources[index - 1] : nullptr;
}

}  // namespace

// The subject is "language\\type\\name" (language in hex), so a rule can fail
// one block in every language.
HRSRC FindResourceExA(HMODULE, LPCSTR type, LPCSTR name, WORD language) {
    Load();
    char lang[8];
    snprintf(lang, sizeof lang, "%04X", language);
    std::string t = IdText(type), n = IdText(name);
    std::string subject = std::string(lang) + "\\" + t.substr(t[0] == '#') + "\\" + n.substr(n[0] == '#');
    fake::LogCall("FindResourceExA", subject);
    if (DWORD error = fake::InjectedFailure("FindResourceExA", subject)) {
        SetLastError(error);
        return nullptr;
    }
    int found = FindExact(t, n, language);
    if (found < 0) found = FindExact(t, n, PRIMARYLANGID(language));
    if (found < 0) SetLastError(1815);  // ERROR_RESOURCE_LANG_NOT_FOUND
    return found < 0 ? nullptr : (HRSRC)(ULONG_PTR)(found + 1);
}

HGLOBAL LoadResource(HMODULE, HRSRC handle) {
    Resource* r = Of(handle);
    std::string subject = r ? r->type + "\\" + r->name : "?";
    fake::LogCall("LoadResource", subject);
    if (DWORD error = fake::InjectedFailure("LoadResource", subject)) {
        SetLastError(error);
        return nullptr;
    }
    return r ? (HGLOBAL)&r->data[0] : nullptr;
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC handle) {
    Resource* r = Of(handle);
    return r ? (DWORD)r->data.size() : 0;
}

LANGID GetUserDefaultLangID(void) {
    fake::LogCall("GetUserDefaultLangID", "");
    return user_language;
}

namespace fake {

void SetUserLanguage(LANGID language) { user_language = language; }

const std::string* ResourceBytes(int type, int name, WORD language) {
    Load();
    int found = FindExact("#" + std::to_string(type), "#" + std::to_string(name), language);
    return found < 0 ? nullptr : &resources[found].data;
}

std::vector<WORD> ResourceLanguages(int type, int name) {
    Load();
    std::vector<WORD> languages;
    for (auto& r : resources)
        if (r.type == "#" + std::to_string(type) && r.name == "#" + std::to_string(name))
            languages.push_back(r.language);
    return languages;
}

}  // namespace fake
