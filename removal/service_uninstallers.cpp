// Running each of the product's service programs with its removal switch.
// A program that is Windows' own (cmd.exe given "/c del ...") is not
// started: its "-u" is no removal switch, and whatever it is given it does.
#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "removal/protected_files.h"
#include "removal/removal_steps.h"
#include "removal/started_programs.h"
#include "removal/windows_programs.h"
#include "system/run_log.h"

#define SERVICE_SWITCH " -u"
// An expanded entry, the quotes that may go round it, and the switch.
#define SERVICE_COMMAND_SIZE (PATH_BUFFER_SIZE + 2 + sizeof SERVICE_SWITCH)

namespace {

bool NamesExistingFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasBlank(const char* text) { return MbFindChar(text, ' ') || MbFindChar(text, '\t'); }

// The text before the first comma, with the switch. A program path with a
// blank in it is quoted, so that Windows cannot take a shorter prefix of it
// for the program; a program followed by its arguments stays as written.
// False when nothing names a program.
bool BuildServiceCommand(const char* expanded, char* command) {
    char program[PATH_BUFFER_SIZE];
    strcpy(program, expanded);
    char* comma = (char*)MbFindChar(program, ',');
    if (comma) *comma = 0;
    if (!program[0]) return false;
    const char* quote = HasBlank(program) && NamesExistingFile(program) ? "\"" : "";
    strcpy(command, quote);
    strcat(command, program);
    strcat(command, quote);
    strcat(command, SERVICE_SWITCH);
    return true;
}

bool HasExtension(const char* name) {
    const char* dot = MbFindLastChar(name, '.');
    return dot && !MbFindChar(dot, '\\');
}

// The folders Windows looks in first for a program named without one.
bool LocateBareName(const char* name, char* found) {
    char folders[3][PATH_BUFFER_SIZE];
    DWORD own = GetModuleFileNameA(nullptr, folders[0], PATH_BUFFER_SIZE);
    char* slash = own && own < PATH_BUFFER_SIZE ? (char*)MbFindLastChar(folders[0], '\\') : nullptr;
    if (slash) *slash = 0;
    else folders[0][0] = 0;
    if (!GetMacroDirs(folders[2], folders[1])) return false;
    for (const char* folder : folders) {
        if (!folder[0] || strlen(folder) + strlen(name) + 2 > PATH_BUFFER_SIZE) continue;
        wsprintfA(found, "%s\\%s", folder, name);
        if (NamesExistingFile(found)) return true;
    }
    return false;
}

// `candidate` with ".exe" when it has no extension, as a file that exists.
bool Locate(const char* candidate, char* found) {
    if (!candidate[0] || strlen(candidate) + 5 > PATH_BUFFER_SIZE) return false;
    char name[PATH_BUFFER_SIZE];
    strcpy(name, candidate);
    if (!HasExtension(name)) strcat(name, ".exe");
    if (!MbFindChar(name, '\\') && !MbFindChar(name, ':')) return LocateBareName(name, found);
    strcpy(found, name);
    return NamesExistingFile(found);
}

// The file CreateProcessA starts for the command: a quoted name whole,
// otherwise the shortest text ending at a blank that names a file.
bool ProgramOfCommand(const char* command, char* found) {
    char text[SERVICE_COMMAND_SIZE];
    bool quoted = command[0] == '"';
    if (!MbCopy(text, sizeof text, command + (quoted ? 1 : 0))) return false;
    for (char* p = text;; p = (char*)MbNext(p)) {
        bool end = quoted ? (*p == '"' || !*p) : (*p == ' ' || *p == '\t' || !*p);
        if (!end) continue;
        char kept = *p;
        *p = 0;
        bool located = Locate(text, found);
        *p = kept;
        if (located || quoted || !kept) return located;
    }
}

// Waits for the program without a time limit; one that cannot be started
// is passed over, and so is one that is Windows' own.
void RunServiceProgram(char* command) {
    char program[PATH_BUFFER_SIZE];
    const char* reason = ProgramOfCommand(command, program) ? WindowsProgramRefusal(program) : nullptr;
    if (reason) {
        LogRefusedProgram("service program", command, reason);
        return;
    }
    StartProgramAndWait("service program", command, WithoutWindow);
}

}  // namespace

int RunServiceUninstallers(const UninstallData& data) {
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE];
    if (!GetMacroDirs(windows_dir, system_dir)) return 2;
    WindowsFileRules rules;
    int32_t count = CountWithin(data.installed_service_count, TAVK_MAX_NUM_INSTALLED_FILES);
    for (int32_t i = 0; i < count; ++i) {
        char expanded[PATH_BUFFER_SIZE], command[SERVICE_COMMAND_SIZE];
        if (!ExpandPathMacros(data.installed_services[i], windows_dir, system_dir, expanded))
            return 2;
        if (BuildServiceCommand(expanded, command)) RunServiceProgram(command);
    }
    return 0;
}
