// Stand-in for the module's resources: the .res file that windres compiled
// from the product's own resource script, with Windows' language matching.
// Logged as "FindResourceExA language\type\name" (language in hex), so
// that a failure rule can fail one block in every language.
#include "messages/module_resource.h"

#include <stdio.h>

#include "tests/stand_ins/stand_ins.h"

#ifndef FAKE_RESOURCE_FILE
#define FAKE_RESOURCE_FILE "uninst.res"
#endif

namespace {

struct Resource {
    WORD type;
    WORD name;
    WORD language;
    std::string data;
};

std::vector<Resource> resources;  // those of integer type and name

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

// A type or name in a .res header: 0xFFFF and an ordinal, or a UTF-16
// string (0 here: the program reads none by name).
WORD IdAt(const std::string& d, size_t* at) {
    if (fake::LittleWord(d, *at) == 0xFFFF) {
        *at += 4;
        return fake::LittleWord(d, *at - 2);
    }
    while (*at + 2 <= d.size() && fake::LittleWord(d, *at)) *at += 2;
    *at += 2;
    return 0;
}

void Load() {
    static bool loaded;
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
        if (data_size && r.type && r.name) resources.push_back(r);
        at = (at + header_size + data_size + 3) & ~(size_t)3;
    }
}

const Resource* FindExact(WORD type, WORD name, WORD language) {
    Load();
    for (const Resource& r : resources)
        if (r.type == type && r.name == name && r.language == language) return &r;
    return nullptr;
}

}  // namespace

const BYTE* FindModuleResource(HMODULE, LPCSTR type_id, WORD name, LANGID language, DWORD* size) {
    WORD type = (WORD)(ULONG_PTR)type_id;
    char subject[32];
    snprintf(subject, sizeof subject, "%04X\\%u\\%u", language, type, name);
    fake::LogCall("FindResourceExA", subject);
    *size = 0;
    if (fake::InjectedFailure("FindResourceExA", subject)) return nullptr;
    const Resource* found = FindExact(type, name, language);
    if (!found) found = FindExact(type, name, PRIMARYLANGID(language));
    if (found) *size = (DWORD)found->data.size();
    return found ? (const BYTE*)found->data.data() : nullptr;
}

namespace stand_in {

const std::string* ResourceBytes(int type, int name, WORD language) {
    const Resource* found = FindExact((WORD)type, (WORD)name, language);
    return found ? &found->data : nullptr;
}

std::vector<WORD> ResourceLanguages(int type, int name) {
    Load();
    std::vector<WORD> languages;
    for (const Resource& r : resources)
        if (r.type == type && r.name == name) languages.push_back(r.language);
    return languages;
}

}  // namespace stand_in
