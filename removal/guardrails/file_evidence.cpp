// Whose a file is, by evidence. Windows' folders and the shared ones hold
// every program's files: a name, or a three-letter pattern, shows nothing
// there. The product's INF files are read once when the removal begins
// (before they are deleted); a file's version resource is read by the file
// rules only when it is a program image.
#include "removal/guardrails/file_evidence.h"

#include "platform/mbtext.h"
#include "platform/text_file.h"
#include "removal/change_log.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"
#include "removal/guardrails/product_names.h"
#include "removal/guardrails/protected_files.h"
#include "removal/guardrails/protected_folders.h"
#include "removal/guardrails/service_evidence.h"
#include "uninstall_data/oem_inf_search.h"

namespace {

const int kMaxCopiedNames = 128;
const int kNameWidth = 64;
const int kMaxPackages = 16;

const char kMicrosoftFile[] = "its version resource names Microsoft as its maker";
const char kOtherMaker[] = "kept: another vendor's file (its version resource names another maker)";
const char kOtherPackage[] = "kept: another vendor's package";
const char kNoEvidence[] = "kept: nothing shows it to be the product's";
const char kByPackage[] = "one of the product's driver packages";
const char kByInf[] = "the product's INF copies it";
const char kByMaker[] = "its version resource names the product's maker";
const char kByName[] = "the description names it";

struct Evidence {
    const UninstallData* data;
    int copied_count;
    char copied[kMaxCopiedNames][kNameWidth];
    int package_count;
    char packages[kMaxPackages][PATH_BUFFER_SIZE];  // full forms
    int entries;               // open DescriptionEntry scopes
    bool entry_named;          // named one by one, or by the product's pattern
    char last_folder[PATH_BUFFER_SIZE];  // the folder asked last, and whether
    bool last_folder_outside;            // it is outside the product's own
};

Evidence evidence;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The length of `text` before its first character of `stops`.
size_t LengthBefore(const char* text, const char* stops) {
    size_t length = 0;
    while (text[length] && !strchr(stops, text[length])) ++length;
    return length;
}

void NoteCopiedName(const char* start, size_t length) {
    while (length && (IsBlank(*start) || *start == '"')) ++start, --length;
    while (length && (IsBlank(start[length - 1]) || start[length - 1] == '"')) --length;
    if (!length || length >= kNameWidth || evidence.copied_count >= kMaxCopiedNames) return;
    char* name = evidence.copied[evidence.copied_count++];
    memcpy(name, start, length);
    name[length] = 0;
}

// "CopyFiles = section, @file, ...": the files named with "@".
void NoteDirectCopies(const char* list) {
    while (*list) {
        while (IsBlank(*list) || *list == ',') ++list;
        size_t length = LengthBefore(list, ",;\r\n");
        if (*list == '@') NoteCopiedName(list + 1, length - 1);
        if (!length || list[length] == ';' || list[length] == '\r' || list[length] == '\n') return;
        list += length;
    }
}

// Every file an INF copies is listed in its [SourceDisksFiles] sections
// (the platform's ".x86" ones too), by the name it is copied from.
void NoteInfLine(const char* line, bool* in_source_files) {
    while (IsBlank(*line)) ++line;
    if (*line == '[') {
        const char* rest = MbAfterPrefixNoCase(line + 1, "SourceDisksFiles");
        *in_source_files = rest && (*rest == ']' || *rest == '.');
        return;
    }
    if (!*line || *line == ';') return;
    size_t key = LengthBefore(line, "=;\r\n");
    if (*in_source_files) return NoteCopiedName(line, key);
    const char* rest = MbAfterPrefixNoCase(line, "CopyFiles");
    while (rest && IsBlank(*rest)) ++rest;
    if (rest && *rest == '=') NoteDirectCopies(rest + 1);
}

bool NoteInf(const char* path, void*) {
    if (evidence.package_count < kMaxPackages &&
        FullPathForm(path, evidence.packages[evidence.package_count], PATH_BUFFER_SIZE))
        ++evidence.package_count;
    TextFile file;
    if (!TextFileOpen(&file, path)) return true;
    char line[TEXT_FILE_BUFFER_SIZE];
    bool in_source_files = false;
    while (TextFileReadLine(&file, line, sizeof line)) {
        NoteInfLine(line, &in_source_files);
        NoteServiceLine(line);
    }
    TextFileClose(&file);
    return true;
}

// Windows renames every vendor's INF it installs to "oem<n>.inf", and its
// precompiled twin to "oem<n>.pnf".
bool IsOemPackageName(const char* name) {
    const char* dot = MbFindLastChar(name, '.');
    return MbAfterPrefixNoCase(name, "oem") && dot && (MbSameNoCase(dot, ".inf") || MbSameNoCase(dot, ".pnf"));
}

bool MatchIsEvidence(const char* name, const char* path, const char* product) {
    if (!MbAfterPrefixNoCase(name, "oem")) return true;
    return product[0] && InfNamesProduct(path, product);
}

struct InfVisit {
    bool (*visit)(const char* path, void* context);
    void* context;
};

// Each file an installed-files entry for INF files matches.
void VisitInfEntry(const char* entry, const char* product, const InfVisit& visit) {
    char folder[PATH_BUFFER_SIZE], path[PATH_BUFFER_SIZE * 2];
    if (!HasInfExtension(FileNamePart(entry)) || !FolderPart(entry, folder)) return;
    bool pattern = MbFindChar(entry, '*') || MbFindChar(entry, '?');
    if (pattern && IsProtectedPattern(entry)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(entry, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        wsprintfA(path, "%s\\%s", folder, found.cFileName);
        if (!pattern || MatchIsEvidence(found.cFileName, path, product)) visit.visit(path, visit.context);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The file itself, or its precompiled twin, is one of the product's INFs.
bool IsProductPackage(const char* form) {
    char inf[PATH_BUFFER_SIZE];
    if (!MbCopy(inf, sizeof inf, form)) return false;
    char* dot = (char*)MbFindLastChar(inf, '.');
    if (dot && MbSameNoCase(dot, ".pnf")) dot[1] = 'i';
    for (int i = 0; i < evidence.package_count; ++i)
        if (MbSameNoCase(inf, evidence.packages[i])) return true;
    return false;
}

bool InfCopies(const char* name) {
    for (int i = 0; i < evidence.copied_count; ++i)
        if (MbSameNoCase(name, evidence.copied[i])) return true;
    return false;
}

// Windows' folders, the shared ones and the shell's: where a sweeping
// pattern is refused. The matches of one search share their folder.
bool OutsideOwnFolders(const char* folder) {
    if (MbSameNoCase(folder, evidence.last_folder)) return evidence.last_folder_outside;
    char pattern[PATH_BUFFER_SIZE + 2];
    wsprintfA(pattern, "%s\\*", folder);  // a folder's full form fits PATH_BUFFER_SIZE
    evidence.last_folder_outside = IsProtectedPattern(pattern);
    MbCopy(evidence.last_folder, sizeof evidence.last_folder, folder);
    return evidence.last_folder_outside;
}

bool NamesAnotherMaker(const FileFacts& facts) {
    const char* c = facts.company;
    while (IsBlank(*c)) ++c;
    return *c && !facts.microsoft && !NamesTheMaker(*evidence.data, facts.company);
}

// What made a file outside the product's own folders the product's.
const char* EvidenceFor(const FileFacts& facts, bool package, bool inf) {
    if (package) return kByPackage;
    if (inf) return kByInf;
    if (facts.company[0] && !facts.microsoft && NamesTheMaker(*evidence.data, facts.company)) return kByMaker;
    return evidence.entry_named ? kByName : nullptr;
}

// The INF outweighs a Microsoft mark (a driver built from the kit keeps the
// kit's); outside an installed-files entry nothing else is asked.
const char* JudgeOwnership(const FileFacts& facts) {
    const char* name = FileNamePart(facts.form);
    bool package = IsProductPackage(facts.form);
    bool inf = package || InfCopies(name);
    if (facts.microsoft && !inf) return kMicrosoftFile;
    if (!evidence.entries) return nullptr;
    if (NamesAnotherMaker(facts)) return kOtherMaker;
    if (!OutsideOwnFolders(facts.folder)) return nullptr;
    if (!package && IsOemPackageName(name)) return kOtherPackage;
    const char* shown = EvidenceFor(facts, package, inf);
    if (!shown) return kNoEvidence;
    LogFileEvidence(facts.form, shown);
    return nullptr;
}

// A pattern's letters before its first wildcard hold the product's or its
// maker's name ("xlnw11*.dll" for the maker "XLN").
bool IsProductPattern(const char* name) {
    char letters[kNameWidth];
    size_t length = LengthBefore(name, "*?");
    if (length >= sizeof letters) length = sizeof letters - 1;
    memcpy(letters, name, length);
    letters[length] = 0;
    return NamesTheProduct(*evidence.data, letters) || HoldsMakersName(*evidence.data, letters);
}

}  // namespace

void VisitProductInfs(const UninstallData& data, bool (*visit)(const char* path, void* context),
                      void* context) {
    InfVisit inf_visit{visit, context};
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE], entry[PATH_BUFFER_SIZE];
    if (GetMacroDirs(windows_dir, system_dir)) {
        for (int i = 0; i < CountWithin(data.installed_file_count, TAVK_MAX_NUM_INSTALLED_FILES); ++i)
            if (ExpandPathMacros(data.installed_files[i], windows_dir, system_dir, entry))
                VisitInfEntry(entry, data.full_product_name, inf_visit);
    }
    if (data.full_product_name[0]) VisitProductOemInfs(data.full_product_name, visit, context);
}

void NoteFileEvidence(const UninstallData& data) {
    evidence.data = &data;
    evidence.copied_count = evidence.package_count = 0;
    VisitProductInfs(data, NoteInf, nullptr);
    SetOwnershipJudge(JudgeOwnership);
}

void ForgetFileEvidence() {
    SetOwnershipJudge(nullptr);
    evidence.data = nullptr;
}

DescriptionEntry::DescriptionEntry(const char* entry) {
    ++evidence.entries;
    evidence.last_folder[0] = 0;
    const char* name = FileNamePart(entry);
    bool pattern = MbFindChar(name, '*') || MbFindChar(name, '?');
    evidence.entry_named = !pattern || (evidence.data && IsProductPattern(name));
}

DescriptionEntry::~DescriptionEntry() { --evidence.entries; }
