// The services no description, and no device tool, may take from Windows:
// those run in a shared process and those whose program is Windows' own.
// Read from the service's key: its Type and its ImagePath, resolved as the
// service manager resolves it.
#include "removal/guardrails/protected_services.h"

#include "platform/mbtext.h"
#include "removal/path_parts.h"
#include "removal/guardrails/windows_programs.h"
#include "system/windows_directory.h"
#include "system/windows_family.h"

#define SERVICE_WIN32_SHARE_PROCESS_TYPE 0x20
#define KERNEL_DRIVER_TYPES 0x3  // kernel and file-system drivers

namespace {

const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services";
const char kSharedReason[] = "a service that runs in a shared process";
const char kWindowsProgramReason[] = "a service whose program is Windows' own";
const char kNoServiceReason[] = "no service: Windows' own settings";
const char kUnreadableReason[] = "a service whose program cannot be read";
const char kBuiltInVxdReason[] = "a VxD built into Windows, or none named";
const char kWindowsVxdReason[] = "a VxD that is Windows' own";

// The programs that run many services in one process.
const char* const kSharedHosts[] = {"svchost.exe", "services.exe", "lsass.exe", "dllhost.exe"};

const DWORD kImagePathSize = 1024;

bool IsFullPath(const char* path) {
    return (path[0] && path[1] == ':') || (path[0] == '\\' && path[1] == '\\');
}

// The environment's variables in a REG_EXPAND_SZ value, as the service
// manager expands them (a REG_SZ is taken as written). Windows 9x has no
// service manager and no SystemRoot variable: a setup that writes NT's
// forms there names the Windows folder, which 9x calls windir.
bool ExpandImagePathVariables(const char* value, DWORD type, char* out, size_t size) {
    if (type != REG_EXPAND_SZ) return MbCopy(out, size, value);
    char source[kImagePathSize];
    const char* rest = IsWin9xFamily(GetWindowsFamily()) ? MbAfterPrefixNoCase(value, "%SystemRoot%") : nullptr;
    if (rest) {
        if (strlen(rest) + 9 > sizeof source) return false;
        wsprintfA(source, "%%windir%%%s", rest);
        value = source;
    }
    DWORD length = ExpandEnvironmentStringsA(value, out, (DWORD)size);
    return length != 0 && length <= size;
}

// `program` as a full path: below the Windows directory unless it is one.
bool Resolve(const char* program, char* out, size_t size) {
    if (const char* rest = MbAfterPrefixNoCase(program, "\\??\\")) program = rest;
    if (IsFullPath(program)) return MbCopy(out, size, program);
    char windows_dir[MAX_PATH];
    if (!GetSystemWindowsDir(windows_dir, sizeof windows_dir)) return false;
    const char* rest = MbAfterPrefixNoCase(program, "\\SystemRoot\\");
    if (!rest) rest = program;
    while (*rest == '\\') ++rest;
    if (strlen(windows_dir) + 1 + strlen(rest) + 1 > size) return false;
    wsprintfA(out, "%s\\%s", windows_dir, rest);
    return true;
}

bool NamesFileOrExe(const char* program, char* full, size_t size) {
    if (!Resolve(program, full, size)) return false;
    if (NamesExistingFile(full)) return true;
    if (strlen(full) + 5 > size) return false;
    strcat(full, ".exe");
    return NamesExistingFile(full);
}

// Where a program that is not there (a product's, deleted already) would
// end: at the first blank after a name ending in ".exe"; else the text's end.
void CutAfterExeName(char* program) {
    for (char* p = program; *p; p = (char*)MbNext(p)) {
        if (*p == ' ' && p - program >= 4 && MbAfterPrefixNoCase(p - 4, ".exe ")) {
            *p = 0;
            return;
        }
    }
}

// A quoted program ends at its closing quote. An unquoted one ends at the
// first blank after which a file is named, as the service manager tries
// them; when none names a file, after its first ".exe" name.
bool CutProgram(const char* image_path, char* program, size_t size) {
    bool quoted = image_path[0] == '"';
    if (!MbCopy(program, size, image_path + (quoted ? 1 : 0))) return false;
    if (quoted) {
        char* end = (char*)MbFindChar(program, '"');
        if (end) *end = 0;
        return true;
    }
    for (char* p = program; *p; p = (char*)MbNext(p)) {
        if (*p != ' ') continue;
        char full[MAX_PATH * 2];
        *p = 0;
        if (NamesFileOrExe(program, full, sizeof full)) return true;
        *p = ' ';
    }
    CutAfterExeName(program);
    return true;
}

// By the program's name, up to the arguments an unfound one still carries.
bool IsSharedHost(const char* path) {
    char name[MAX_PATH];
    if (!MbCopy(name, sizeof name, FileNamePart(path))) return false;
    if (char* blank = (char*)MbFindChar(name, ' ')) *blank = 0;
    for (const char* host : kSharedHosts)
        if (MbSameNoCase(name, host)) return true;
    return false;
}

bool ReadDword(HKEY key, const char* name, DWORD* value) {
    DWORD size = sizeof *value;
    return RegQueryValueExA(key, name, nullptr, nullptr, (LPBYTE)value, &size) == ERROR_SUCCESS &&
           size == sizeof *value;
}

// The value as text: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND when absent, or
// another error when it cannot be read whole. `type` may be null.
LONG ReadText(HKEY key, const char* name, char* text, DWORD size, DWORD* type = nullptr) {
    DWORD read = size - 1;
    LONG status = RegQueryValueExA(key, name, nullptr, type, (LPBYTE)text, &read);
    if (status == ERROR_SUCCESS) text[read < size ? read : size - 1] = 0;
    return status;
}

// What a service's key says of its program.
struct ServiceImage {
    bool has_type;
    DWORD type;
    LONG status;      // of reading ImagePath
    DWORD text_type;  // REG_SZ or REG_EXPAND_SZ
    char text[kImagePathSize];
};

// A kernel driver without ImagePath is loaded from the drivers folder.
void ReadServiceImage(HKEY key, const char* name, ServiceImage& image) {
    image.type = 0;
    image.text_type = REG_SZ;
    image.has_type = ReadDword(key, "Type", &image.type);
    image.status = ReadText(key, "ImagePath", image.text, sizeof image.text, &image.text_type);
    if (image.status != ERROR_FILE_NOT_FOUND) return;
    image.text[0] = 0;
    if ((image.type & KERNEL_DRIVER_TYPES) && strlen(name) + 25 < sizeof image.text)
        wsprintfA(image.text, "System32\\drivers\\%s.sys", name);
}

const char* ProgramRefusal(const ServiceImage& image) {
    char program[MAX_PATH * 2];
    if (!ServiceProgramPath(image.text, image.text_type, program, sizeof program))
        return kUnreadableReason;
    if (IsSharedHost(program)) return kSharedReason;
    return WindowsProgramRefusal(program) ? kWindowsProgramReason : nullptr;
}

const char* OpenServiceRefusal(HKEY key, const char* name) {
    ServiceImage image;
    ReadServiceImage(key, name, image);
    if (image.status != ERROR_SUCCESS && image.status != ERROR_FILE_NOT_FOUND) return kUnreadableReason;
    if (!image.has_type && image.status != ERROR_SUCCESS) return kNoServiceReason;
    if (image.type & SERVICE_WIN32_SHARE_PROCESS_TYPE) return kSharedReason;
    return image.text[0] ? ProgramRefusal(image) : nullptr;
}

// Opens `services_path`\`sub`\`name`; false when there is no such key.
bool OpenEntry(const char* services_path, const char* sub, const char* name, HKEY* key) {
    char path[TAVK_SERVICE_PATH_SIZE];
    if (strlen(services_path) + strlen(sub) + strlen(name) + 3 > sizeof path) return false;
    wsprintfA(path, "%s%s\\%s", services_path, sub, name);
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
}

const char* StaticVxdRefusal(HKEY key) {
    char file[MAX_PATH], path[MAX_PATH * 2];
    if (ReadText(key, "StaticVxD", file, sizeof file) != ERROR_SUCCESS || !file[0] || file[0] == '*')
        return kBuiltInVxdReason;
    if (IsFullPath(file)) return WindowsProgramRefusal(file) ? kWindowsVxdReason : nullptr;
    char system_dir[MAX_PATH];
    UINT length = GetSystemDirectoryA(system_dir, sizeof system_dir);
    if (!length || length >= sizeof system_dir) return kUnreadableReason;
    wsprintfA(path, "%s\\%s", system_dir, file);
    return WindowsProgramRefusal(path) ? kWindowsVxdReason : nullptr;
}

}  // namespace

bool ServiceProgramPath(const char* image_path, DWORD type, char* out, size_t size) {
    char expanded[kImagePathSize], program[MAX_PATH * 2];
    if (!ExpandImagePathVariables(image_path, type, expanded, sizeof expanded)) return false;
    if (!CutProgram(expanded, program, sizeof program) || !program[0]) return false;
    return NamesFileOrExe(program, out, size) || Resolve(program, out, size);
}

bool ServiceProgramIn(const char* services_path, const char* name, char* out, size_t size) {
    HKEY key;
    if (!name || !*name || !OpenEntry(services_path, "", name, &key)) return false;
    ServiceImage image;
    ReadServiceImage(key, name, image);
    RegCloseKey(key);
    if (image.status != ERROR_SUCCESS && image.status != ERROR_FILE_NOT_FOUND) return false;
    return image.text[0] && ServiceProgramPath(image.text, image.text_type, out, size);
}

const char* ServiceRefusalIn(const char* services_path, const char* name) {
    HKEY key;
    if (!name || !*name || !OpenEntry(services_path, "", name, &key)) return nullptr;
    const char* reason = OpenServiceRefusal(key, name);
    RegCloseKey(key);
    return reason;
}

const char* ServiceRefusal(const char* name) { return ServiceRefusalIn(kServicesKey, name); }

const char* VxdRefusalIn(const char* services_path, const char* name) {
    HKEY key;
    if (!name || !*name || !OpenEntry(services_path, "\\VxD", name, &key)) return nullptr;
    const char* reason = StaticVxdRefusal(key);
    RegCloseKey(key);
    return reason;
}
