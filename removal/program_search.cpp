// CreateProcessA's search for the program of a command line, walked here
// step by step so that each place is looked at through the platform seam.
#include "removal/program_search.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "removal/path_parts.h"

namespace {

const DWORD kPathListStart = 1024;  // PATH is read into the heap when longer

// The file's full form into `found` when it exists.
bool FoundAt(const char* path, char* found) {
    DWORD length = GetFullPathNameA(path, PATH_BUFFER_SIZE, found, nullptr);
    return length && length < PATH_BUFFER_SIZE && NamesExistingFile(found);
}

bool EndsWithSeparator(const char* text) {
    const char* last = nullptr;
    for (const char* p = text; *p; p = MbNext(p)) last = p;
    return last && (*last == '\\' || *last == '/');
}

bool InFolder(const char* folder, const char* name, char* found) {
    if (!folder[0] || strlen(folder) + strlen(name) + 2 > PATH_BUFFER_SIZE) return false;
    char path[PATH_BUFFER_SIZE];
    wsprintfA(path, EndsWithSeparator(folder) ? "%s%s" : "%s\\%s", folder, name);
    return FoundAt(path, found);
}

// This program's folder; empty when its path is unknown or cut.
void OwnFolder(char* folder) {
    DWORD length = GetModuleFileNameA(nullptr, folder, PATH_BUFFER_SIZE);
    char* slash = length && length < PATH_BUFFER_SIZE ? (char*)MbFindLastChar(folder, '\\') : nullptr;
    if (slash) *slash = 0;
    else folder[0] = 0;
}

// The current folder, as the full form of "." gives it.
void CurrentFolder(char* folder) {
    DWORD length = GetFullPathNameA(".", PATH_BUFFER_SIZE, folder, nullptr);
    if (!length || length >= PATH_BUFFER_SIZE) folder[0] = 0;
}

// The five fixed places, in CreateProcessA's order. The 16-bit system
// folder is "SYSTEM" in the Windows folder (on Windows 9x, the system
// folder itself).
bool InFixedFolders(const char* name, char* found) {
    char folders[5][PATH_BUFFER_SIZE];
    OwnFolder(folders[0]);
    CurrentFolder(folders[1]);
    if (!GetMacroDirs(folders[4], folders[2])) folders[2][0] = folders[4][0] = 0;
    folders[3][0] = 0;
    if (folders[4][0] && strlen(folders[4]) + 8 <= PATH_BUFFER_SIZE) wsprintfA(folders[3], "%s\\SYSTEM", folders[4]);
    for (const char* folder : folders)
        if (InFolder(folder, name, found)) return true;
    return false;
}

// Each folder of PATH (an unset PATH expands to itself: no folder).
bool InPathFolders(const char* list, const char* name, char* found) {
    char folder[PATH_BUFFER_SIZE];
    for (const char* p = list; *p;) {
        const char* end = p;
        while (*end && *end != ';') end = MbNext(end);
        size_t length = (size_t)(end - p);
        if (length && length < sizeof folder && *p != '%') {
            memcpy(folder, p, length);
            folder[length] = 0;
            if (InFolder(folder, name, found)) return true;
        }
        p = *end ? end + 1 : end;
    }
    return false;
}

bool OnPath(const char* name, char* found) {
    char start[kPathListStart];
    DWORD need = ExpandEnvironmentStringsA("%PATH%", start, sizeof start);
    if (!need) return false;
    if (need <= sizeof start) return InPathFolders(start, name, found);
    char* list = (char*)malloc(need);
    bool on_path = list && ExpandEnvironmentStringsA("%PATH%", list, need) == need &&
                   InPathFolders(list, name, found);
    free(list);
    return on_path;
}

// A name from a drive or a root, or from the current folder (".\", "..\"),
// is looked at where it says; any other is searched for.
bool SaysWhere(const char* name) {
    if (name[0] == '\\' || name[0] == '/' || (name[0] && name[1] == ':')) return true;
    return MbAfterPrefixNoCase(name, ".\\") || MbAfterPrefixNoCase(name, "..\\") ||
           MbAfterPrefixNoCase(name, "./") || MbAfterPrefixNoCase(name, "../");
}

bool HasExtension(const char* name) {
    const char* dot = MbFindLastChar(name, '.');
    return dot && !MbFindChar(dot, '\\') && !MbFindChar(dot, '/');
}

bool Locate(const char* candidate, char* found) {
    const char* extension = HasExtension(candidate) ? "" : ".exe";
    if (!candidate[0] || strlen(candidate) + strlen(extension) >= PATH_BUFFER_SIZE) return false;
    char name[PATH_BUFFER_SIZE];
    strcpy(name, candidate);
    strcat(name, extension);
    if (SaysWhere(name)) return FoundAt(name, found);
    return InFixedFolders(name, found) || OnPath(name, found);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool LocateText(const char* start, size_t length, char* found) {
    char text[PATH_BUFFER_SIZE];
    if (length >= sizeof text) return false;
    memcpy(text, start, length);
    text[length] = 0;
    return Locate(text, found);
}

}  // namespace

bool FindProgramOfCommand(const char* command, char* found, const char** arguments) {
    bool quoted = command[0] == '"';
    const char* start = command + (quoted ? 1 : 0);
    for (const char* p = start;; p = MbNext(p)) {
        bool end = quoted ? (*p == '"' || !*p) : (IsBlank(*p) || !*p);
        if (!end) continue;
        bool located = LocateText(start, (size_t)(p - start), found);
        if (located) *arguments = quoted && *p ? p + 1 : p;
        if (located || quoted || !*p) return located;
    }
}
