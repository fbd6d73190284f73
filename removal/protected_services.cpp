// The services no description, and no device tool, may take from Windows:
// those run in a shared process and those whose program is Windows' own.
// Read from the service's key: its Type and its ImagePath, resolved as the
// service manager resolves it.
#include "removal/protected_services.h"

#include "platform/mbtext.h"
#include "removal/path_parts.h"
#include "removal/windows_programs.h"
#include "removal/windows_directory.h"

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

bool NamesFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The part of a path that follows the Windows directory's names.
const char* AfterWindowsPrefix(const char* path) {
    static const char* const kPrefixes[] = {"\\SystemRoot", "%SystemRoot%", "%windir%"};
    for (const char* prefix : kPrefixes)
        if (const char* rest = MbAfterPrefixNoCase(path, prefix)) return rest;
    return nullptr;
}

// `program` as a full path: below the Windows directory unless it is one.
bool Resolve(const char* program, char* out, size_t size) {
    if (const char* rest = MbAfterPrefixNoCase(program, "\\??\\")) program = rest;
    if (IsFullPath(program)) return MbCopy(out, size, program);
    char windows_dir[MAX_PATH];
    if (!GetSystemWindowsDir(windows_dir, sizeof windows_dir)) return false;
    const char* rest = AfterWindowsPrefix(program);
    if (!rest) rest = program;
    while (*rest == '\\') ++rest;
    if (strlen(windows_dir) + 1 + strlen(rest) + 1 > size) return false;
    wsprintfA(out, "%s\\%s", windows_dir, rest);
    return true;
}

bool NamesFileOrExe(const char* program, char* full, size_t size) {
    if (!Resolve(program, full, size)) return false;
    if (NamesFile(full)) return true;
    if (strlen(full) + 5 > size) return false;
    strcat(full, ".exe");
    return NamesFile(full);
}

// A quoted program ends at its closing quote. An unquoted one ends at the
// first blank after which a file is named, as the service manager tries
// them; when none names a file, the whole text stands.
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
// another error when it cannot be read whole.
LONG ReadText(HKEY key, const char* name, char* text, DWORD size) {
    DWORD read = size - 1;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, (LPBYTE)text, &read);
    if (status == ERROR_SUCCESS) text[read < size ? read : size - 1] = 0;
    return status;
}

// A kernel driver without ImagePath is loaded from the drivers folder.
void DefaultDriverImage(const char* name, char* image_path, DWORD size) {
    image_path[0] = 0;
    if (strlen(name) + 25 < size) wsprintfA(image_path, "System32\\drivers\\%s.sys", name);
}

const char* ProgramRefusal(const char* image_path) {
    char program[MAX_PATH * 2];
    if (!ServiceProgramPath(image_path, program, sizeof program)) return kUnreadableReason;
    if (IsSharedHost(program)) return kSharedReason;
    return WindowsProgramRefusal(program) ? kWindowsProgramReason : nullptr;
}

const char* OpenServiceRefusal(HKEY key, const char* name) {
    DWORD type = 0;
    bool has_type = ReadDword(key, "Type", &type);
    char image_path[kImagePathSize];
    LONG image = ReadText(key, "ImagePath", image_path, sizeof image_path);
    if (image != ERROR_SUCCESS && image != ERROR_FILE_NOT_FOUND) return kUnreadableReason;
    if (!has_type && image != ERROR_SUCCESS) return kNoServiceReason;
    if (type & SERVICE_WIN32_SHARE_PROCESS_TYPE) return kSharedReason;
    if (image != ERROR_SUCCESS) {
        if (!(type & KERNEL_DRIVER_TYPES)) return nullptr;
        DefaultDriverImage(name, image_path, sizeof image_path);
    }
    return image_path[0] ? ProgramRefusal(image_path) : nullptr;
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

bool ServiceProgramPath(const char* image_path, char* out, size_t size) {
    char program[MAX_PATH * 2];
    if (!CutProgram(image_path, program, sizeof program) || !program[0]) return false;
    return NamesFileOrExe(program, out, size) || Resolve(program, out, size);
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
