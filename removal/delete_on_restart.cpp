// Deferred deletion: Windows 9x's WININIT.INI and the NT family's list of
// pending file operations.
#include "removal/delete_on_restart.h"

#include "removal/path_macros.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "system/windows_family.h"

#define WININIT_FILE "WININIT.INI"  // no folder: the Windows directory's
#define WININIT_SECTION "rename"
#define WININIT_KEY "NUL"
#define WININIT_SECTION_SIZE 8192
#define WININIT_LINE_SIZE 128

namespace {

// Windows 9x does not always say why a profile write failed.
DWORD LastErrorOr(DWORD fallback) {
    DWORD error = GetLastError();
    return error ? error : fallback;
}

// The real-mode program that reads WININIT.INI knows no long names.
const char* ShortFormOf(const char* path, char* out) {
    DWORD length = GetShortPathNameA(path, out, PATH_BUFFER_SIZE);
    return length && length < PATH_BUFFER_SIZE ? out : path;
}

// A section that did not fit comes back cut to the buffer less two, and
// writing it back would destroy other programs' pending lines: such a
// section never has room for a line, so it is never rewritten. An empty
// answer beside a "NUL" key is a failed read. The new line needs its
// terminator and the list's. 0 when the line fits.
DWORD SectionRoomError(DWORD used, size_t line_length) {
    if (used == 0) return ERROR_READ_FAULT;
    return used + line_length + 2 <= WININIT_SECTION_SIZE ? 0 : ERROR_INSUFFICIENT_BUFFER;
}

DWORD WriteSection(const char* section) {
    WininitWritten = true;
    if (WritePrivateProfileSectionA(WININIT_SECTION, section, WININIT_FILE)) return 0;
    return LastErrorOr(ERROR_WRITE_FAULT);
}

// Puts the line after the section's last string, with the list's end.
void AddLineToSection(char* section, DWORD used, const char* line) {
    size_t length = strlen(line);
    memcpy(section + used, line, length + 1);
    section[used + length + 1] = 0;
}

// Rewrites the section with the new line after the existing ones.
DWORD AppendWininitLine(const char* path) {
    if (strlen(path) > WININIT_LINE_SIZE - 1 - strlen(WININIT_KEY "="))
        return ERROR_FILENAME_EXCED_RANGE;
    char line[WININIT_LINE_SIZE];
    wsprintfA(line, WININIT_KEY "=%s", path);
    char* section = (char*)calloc(WININIT_SECTION_SIZE, 1);
    if (!section) return ERROR_NOT_ENOUGH_MEMORY;
    DWORD used = GetPrivateProfileSectionA(WININIT_SECTION, section, WININIT_SECTION_SIZE,
                                           WININIT_FILE);
    DWORD error = SectionRoomError(used, strlen(line));
    if (!error) {
        AddLineToSection(section, used, line);
        error = WriteSection(section);
    }
    free(section);
    return error;
}

DWORD WriteFirstLine(const char* path) {
    WininitWritten = true;
    if (WritePrivateProfileStringA(WININIT_SECTION, WININIT_KEY, path, WININIT_FILE)) return 0;
    return LastErrorOr(ERROR_WRITE_FAULT);
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
DWORD ScheduleWininitDelete(const char* path) {
    if (HasControlCharacter(path)) return ERROR_INVALID_NAME;
    char short_path[PATH_BUFFER_SIZE];
    const char* name = ShortFormOf(path, short_path);
    char existing[WININIT_LINE_SIZE];
    if (!GetPrivateProfileStringA(WININIT_SECTION, WININIT_KEY, "", existing, sizeof existing,
                                  WININIT_FILE))
        return WriteFirstLine(name);
    return AppendWininitLine(name);
}

// The NT family never reads WININIT.INI; Windows 9x has MoveFileExA but
// does not implement it, which also catches a 9x the version check missed.
DWORD ScheduleDeleteAtRestart(const char* path, DWORD family) {
    if (IsWin9xFamily(family)) return ScheduleWininitDelete(path);
    if (MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return 0;
    DWORD error = GetLastError();
    return error == ERROR_CALL_NOT_IMPLEMENTED ? ScheduleWininitDelete(path) : error;
}

// All three names null: the documented way to write the cache out.
void FlushWininit() {
    if (!WininitWritten) return;
    if (WritePrivateProfileStringA(nullptr, nullptr, nullptr, WININIT_FILE)) {
        LogLine("WININIT.INI: written out before the restart");
        return;
    }
    LogLine("WININIT.INI: could not be written out, error %u", (unsigned)GetLastError());
}

bool WaitsForTheRestart(DWORD error) {
    if (error == ERROR_ACCESS_DENIED) return true;
    return IsWindowsNT() && (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION);
}
