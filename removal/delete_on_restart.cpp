// Deferred deletion: Windows 9x's WININIT.INI and the NT family's list of
// pending file operations.
#include "removal/delete_on_restart.h"

#include "removal/path_macros.h"
#include "system/windows_family.h"

#define WININIT_FILE "WININIT.INI"  // no folder: the Windows directory's
#define WININIT_SECTION "rename"
#define WININIT_KEY "NUL"
#define WININIT_SECTION_SIZE 8192
#define WININIT_LINE_SIZE 128

namespace {

// The real-mode program that reads WININIT.INI knows no long names.
const char* ShortFormOf(const char* path, char* out) {
    DWORD length = GetShortPathNameA(path, out, PATH_BUFFER_SIZE);
    return length && length < PATH_BUFFER_SIZE ? out : path;
}

// A section that did not fit comes back cut to the buffer less two, and
// writing it back would destroy other programs' pending lines: such a
// section never has room for a line, so it is never rewritten. An empty
// answer beside a "NUL" key is a failed read. The new line needs its
// terminator and the list's.
bool SectionHasRoom(DWORD used, size_t line_length) {
    return used != 0 && used + line_length + 2 <= WININIT_SECTION_SIZE;
}

// Puts the line after the section's last string, with the list's end.
void AddLineToSection(char* section, DWORD used, const char* line) {
    size_t length = strlen(line);
    memcpy(section + used, line, length + 1);
    section[used + length + 1] = 0;
}

// Rewrites the section with the new line after the existing ones.
void AppendWininitLine(const char* path) {
    if (strlen(path) > WININIT_LINE_SIZE - 1 - strlen(WININIT_KEY "=")) return;
    char line[WININIT_LINE_SIZE];
    wsprintfA(line, WININIT_KEY "=%s", path);
    char* section = (char*)calloc(WININIT_SECTION_SIZE, 1);
    if (!section) return;
    DWORD used = GetPrivateProfileSectionA(WININIT_SECTION, section, WININIT_SECTION_SIZE,
                                           WININIT_FILE);
    if (SectionHasRoom(used, strlen(line))) {
        AddLineToSection(section, used, line);
        WritePrivateProfileSectionA(WININIT_SECTION, section, WININIT_FILE);
    }
    free(section);
}

// No file name holds a control character, and a line break in a "NUL=" line
// would add lines of its own to the section (a rename of a system file).
bool HasControlCharacter(const char* path) {
    for (; *path; ++path)
        if ((unsigned char)*path < ' ') return true;
    return false;
}

}  // namespace

// The key write makes the first line; the profile functions keep one line
// per key, so later ones go in by rewriting the whole section.
void ScheduleWininitDelete(const char* path) {
    if (HasControlCharacter(path)) return;
    char short_path[PATH_BUFFER_SIZE];
    const char* name = ShortFormOf(path, short_path);
    char existing[WININIT_LINE_SIZE];
    if (!GetPrivateProfileStringA(WININIT_SECTION, WININIT_KEY, "", existing, sizeof existing,
                                  WININIT_FILE)) {
        WritePrivateProfileStringA(WININIT_SECTION, WININIT_KEY, name, WININIT_FILE);
        return;
    }
    AppendWininitLine(name);
}

// The NT family never reads WININIT.INI; Windows 9x has MoveFileExA but
// does not implement it, which also catches a 9x the version check missed.
void ScheduleDeleteAtRestart(const char* path, DWORD family) {
    if (IsWin9xFamily(family)) {
        ScheduleWininitDelete(path);
        return;
    }
    if (!MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) &&
        GetLastError() == ERROR_CALL_NOT_IMPLEMENTED)
        ScheduleWininitDelete(path);
}
