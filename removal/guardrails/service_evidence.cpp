// The evidence that a service is the product's. A service key is deleted
// only with it: a Windows driver whose file Windows has not copied (XP
// ships many) looks like a product's service whose program is gone, and
// only the description can tell them apart.
#include "removal/guardrails/service_evidence.h"

#include "platform/mbtext.h"
#include "removal/guardrails/file_evidence.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/guardrails/protected_folders.h"
#include "removal/guardrails/protected_services.h"

namespace {

const int kMaxInfServices = 32;
const char kNotTiedReason[] = "a service nothing ties to the product";
const char kMissingProgramReason[] = "a service whose program is missing and nothing ties to the product";

struct Evidence {
    const UninstallData* data;
    int inf_service_count;
    char inf_services[kMaxInfServices][TAVK_SERVICE_NAME_LEN + 1];
};

Evidence evidence;

bool IsInfService(const char* name) {
    for (int i = 0; i < evidence.inf_service_count; ++i)
        if (MbSameNoCase(evidence.inf_services[i], name)) return true;
    return false;
}

void NoteInfService(const char* name) {
    if (!name[0] || IsInfService(name) || evidence.inf_service_count >= kMaxInfServices) return;
    MbCopy(evidence.inf_services[evidence.inf_service_count++], TAVK_SERVICE_NAME_LEN + 1, name);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// "AddService = NAME, flags, section": NAME, quoted or not. A name too
// long for a service is passed over.
void NoteAddServiceLine(const char* line) {
    while (IsBlank(*line)) ++line;
    const char* rest = MbAfterPrefixNoCase(line, "AddService");
    if (!rest) return;
    while (IsBlank(*rest)) ++rest;
    if (*rest++ != '=') return;
    while (IsBlank(*rest) || *rest == '"') ++rest;
    char name[TAVK_SERVICE_NAME_LEN + 1];
    size_t length = 0;
    for (; rest[length] && !strchr(",;\"\r\n", rest[length]); ++length)
        if (length >= TAVK_SERVICE_NAME_LEN) return;
    while (length && IsBlank(rest[length - 1])) --length;
    memcpy(name, rest, length);
    name[length] = 0;
    NoteInfService(name);
}

// A file-name pattern with '*' and '?', letters in either case.
bool NameMatches(const char* name, const char* pattern) {
    const char* star = nullptr;
    const char* resume = name;
    while (*name) {
        if (*pattern == '*') {
            star = ++pattern;
            resume = name;
        } else if (*pattern && (*pattern == '?' || FoldAscii(*pattern) == FoldAscii(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return !*pattern;
}

bool FullFolderOf(const char* path, char* form) {
    char folder[PATH_BUFFER_SIZE];
    return FolderPart(path, folder) && FullPathForm(folder, form, PATH_BUFFER_SIZE);
}

// The program is the entry's file, or lies in the entry's folder when that
// is the product's own: neither protected nor inside Windows' folders. A
// sweeping pattern in Windows' folders is no evidence for what it matches.
bool EntryOwnsProgram(const char* entry, const char* program, const char* program_folder) {
    char folder[PATH_BUFFER_SIZE];
    if (IsProtectedPattern(entry) || !FullFolderOf(entry, folder)) return false;
    if (MbSameNoCase(folder, program_folder) && NameMatches(FileNamePart(program), FileNamePart(entry)))
        return true;
    return IsSameOrBelow(program_folder, folder) && !EmptiedFolderRefusal(folder);
}

// An installed file or service program, macros expanded, the text after a
// service entry's comma dropped.
bool ListOwnsProgram(const char (*list)[TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1], int32_t count,
                     bool services, const char* program, const char* program_folder) {
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE], entry[PATH_BUFFER_SIZE];
    if (!GetMacroDirs(windows_dir, system_dir)) return false;
    for (int i = 0; i < CountWithin(count, TAVK_MAX_NUM_INSTALLED_FILES); ++i) {
        if (!ExpandPathMacros(list[i], windows_dir, system_dir, entry)) continue;
        if (char* comma = services ? (char*)MbFindChar(entry, ',') : nullptr) *comma = 0;
        if (EntryOwnsProgram(entry, program, program_folder)) return true;
    }
    return false;
}

bool ProductOwnsProgram(const char* program) {
    char program_folder[PATH_BUFFER_SIZE];
    if (!FullFolderOf(program, program_folder)) return false;
    RememberProtectedPlaces remember;
    const UninstallData& data = *evidence.data;
    return ListOwnsProgram(data.installed_files, data.installed_file_count, false, program,
                           program_folder) ||
           ListOwnsProgram(data.installed_services, data.installed_service_count, true, program,
                           program_folder);
}

bool ServiceKeyExists(const char* services_path, const char* name) {
    char path[TAVK_SERVICE_PATH_SIZE];
    if (strlen(services_path) + strlen(name) + 2 > sizeof path) return true;
    wsprintfA(path, "%s\\%s", services_path, name);
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

void NoteServiceEvidence(const UninstallData& data) {
    evidence.data = &data;
    evidence.inf_service_count = 0;
    NoteFileEvidence(data);
}

void ForgetServiceEvidence() {
    ForgetFileEvidence();
    evidence.data = nullptr;
}

void NoteServiceLine(const char* line) { NoteAddServiceLine(line); }

const char* ServiceEvidenceRefusal(const char* services_path, const char* name) {
    if (!name || !*name || !ServiceKeyExists(services_path, name)) return nullptr;
    if (!evidence.data) return kNotTiedReason;
    if (MbSameNoCase(evidence.data->device_service_name, name) || IsInfService(name)) return nullptr;
    char program[PATH_BUFFER_SIZE];
    if (!ServiceProgramIn(services_path, name, program, sizeof program)) return kNotTiedReason;
    if (ProductOwnsProgram(program)) return nullptr;
    DWORD attributes = GetFileAttributesA(program);
    return attributes == INVALID_FILE_ATTRIBUTES ? kMissingProgramReason : kNotTiedReason;
}
