// Running each of the product's service programs with its removal switch.
#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "removal/removal_steps.h"
#include "removal/started_programs.h"

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

// Waits for the program without a time limit; one that cannot be started
// is passed over.
void RunServiceProgram(char* command) {
    StartProgramAndWait("service program", command, WithoutWindow);
}

int32_t ValidCount(int32_t count) {
    if (count < 0) return 0;
    return count > TAVK_MAX_NUM_INSTALLED_FILES ? TAVK_MAX_NUM_INSTALLED_FILES : count;
}

}  // namespace

int RunServiceUninstallers(const UninstallData& data) {
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE];
    if (!GetMacroDirs(windows_dir, system_dir)) return 2;
    for (int32_t i = 0; i < ValidCount(data.installed_service_count); ++i) {
        char expanded[PATH_BUFFER_SIZE], command[SERVICE_COMMAND_SIZE];
        if (!ExpandPathMacros(data.installed_services[i], windows_dir, system_dir, expanded))
            return 2;
        if (BuildServiceCommand(expanded, command)) RunServiceProgram(command);
    }
    return 0;
}
