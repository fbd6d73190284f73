// Registry overrides of the messages, per module and language, below
// HKLM\SOFTWARE\Tarnwell\802.11\LocalizedStrings\<stem>\<primary>\<sub>.
#include "messages/string_override.h"

#include "messages/localized_string.h"

#include "platform/mbtext.h"
#include "system/run_time_functions.h"
#include "system/windows_family.h"

namespace {

typedef decltype(&::RegQueryValueExW) QueryValueWFn;

const DWORD kModulePathSize = 1040;
const DWORD kSubkeyNameSize = 256;

// The language's level-3 key below the primary-language key; for the default
// sublanguage a missing key gives way to the first subkey, whatever its name.
HKEY OpenSublanguageKey(HKEY primary, LANGID language) {
    char name[kSubkeyNameSize];
    wsprintfA(name, "%u", (UINT)(language >> 10));
    HKEY key = nullptr;
    if (RegOpenKeyExA(primary, name, 0, KEY_READ, &key) == ERROR_SUCCESS) return key;
    if ((language >> 10) != 1) return nullptr;
    if (RegEnumKeyA(primary, 0, name, sizeof name) != ERROR_SUCCESS) return nullptr;
    name[sizeof name - 1] = 0;
    return RegOpenKeyExA(primary, name, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

// Opens `name` below `parent` and closes `parent` either way.
HKEY OpenAndCloseParent(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS) key = nullptr;
    RegCloseKey(parent);
    return key;
}

// The stem\primary\sub key of the override tree, or null.
HKEY OpenLanguageKey(const char* stem, LANGID language) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, LOCALIZED_STRINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    char primary[16];
    wsprintfA(primary, "%u", (UINT)(language & 0x3FF));
    key = OpenAndCloseParent(key, stem);
    if (key) key = OpenAndCloseParent(key, primary);
    if (!key) return nullptr;
    HKEY sub = OpenSublanguageKey(key, language);
    RegCloseKey(key);
    return sub;
}

// The UTF-16 query is looked up at run time: the first Windows 95 lacks it.
LONG QueryValueW(HKEY key, const WCHAR* name, BYTE* data, DWORD* size) {
    QueryValueWFn call = LoadedFunction<QueryValueWFn>("advapi32.dll", "RegQueryValueExW");
    return call ? call(key, name, nullptr, nullptr, data, size) : ERROR_CALL_NOT_IMPLEMENTED;
}

// Windows 9x is asked with a narrow value name, NT with a UTF-16 one; the
// bytes are taken as they come either way.
LONG QueryOverrideValue(HKEY key, UINT id, BYTE* data, DWORD* size) {
    char narrow[16];
    WCHAR wide[16];
    int length = wsprintfA(narrow, "%u", id);
    for (int i = 0; i <= length; ++i) wide[i] = (WCHAR)narrow[i];
    if (IsWindowsNT()) return QueryValueW(key, wide, data, size);
    return RegQueryValueExA(key, narrow, nullptr, nullptr, data, size);
}

// Asks for the data's size, then reads it into a buffer with room for a
// terminating code unit behind it.
BYTE* QueryOverrideData(HKEY key, UINT id, DWORD* size) {
    *size = 0;
    if (QueryOverrideValue(key, id, nullptr, size) != ERROR_SUCCESS || *size > 0x7FFFFFF0u)
        return nullptr;
    BYTE* data = (BYTE*)malloc(*size + sizeof(WCHAR));
    if (!data) return nullptr;
    if (QueryOverrideValue(key, id, data, size) == ERROR_SUCCESS) return data;
    free(data);
    return nullptr;
}

// The data as UTF-16 text: it ends at its first NUL code unit or at its last
// whole code unit (an odd trailing byte is dropped).
WCHAR* DataAsText(BYTE* data, DWORD size) {
    WCHAR* text = (WCHAR*)data;
    DWORD units = size / sizeof(WCHAR);
    text[units] = 0;
    return text;
}

}  // namespace

char* GetModuleStem(HMODULE module) {
    char path[kModulePathSize];
    if (GetModuleFileNameA(module, path, sizeof path) == 0) return nullptr;
    path[sizeof path - 1] = 0;
    const char* name = nullptr;
    for (const char* p = path; *p; p = MbNext(p))
        if (*p == '\\') name = p + 1;
    if (!name) return nullptr;
    const char* dot = nullptr;
    for (const char* p = name; *p; p = MbNext(p))
        if (*p == '.') dot = p;
    size_t length = dot ? (size_t)(dot - name) : strlen(name);
    if (length == 0) return nullptr;  // no name to look a subtree up by
    char* stem = (char*)malloc(length + 1);
    if (!stem) return nullptr;
    memcpy(stem, name, length);
    stem[length] = 0;
    return stem;
}

WCHAR* ReadLocalizedStringOverride(HMODULE module, UINT id, LANGID language) {
    char* stem = GetModuleStem(module);
    if (!stem) return nullptr;
    HKEY key = OpenLanguageKey(stem, language);
    free(stem);
    if (!key) return nullptr;
    DWORD size = 0;
    BYTE* data = QueryOverrideData(key, id, &size);
    RegCloseKey(key);
    return data ? DataAsText(data, size) : nullptr;
}
