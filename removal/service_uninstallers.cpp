// Running each of the product's service programs with its removal switch.
// A program that is Windows' own (cmd.exe given "/c del ...", wmic found on
// PATH) is not started: its "-u" is no removal switch, and whatever it is
// given it does.
#include "removal/service_uninstallers.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "removal/program_search.h"
#include "removal/guardrails/protected_files.h"
#include "removal/started_programs.h"
#include "removal/guardrails/windows_programs.h"
#include "removal/path_parts.h"
#include "system/run_log.h"

#define SERVICE_SWITCH " -u"
// An expanded entry, the quotes that may go round it, and the switch.
#define SERVICE_COMMAND_SIZE (PATH_BUFFER_SIZE + 2 + sizeof SERVICE_SWITCH)

namespace {

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

const char kNotFound[] = "no such program where Windows would look for it";

// Waits for the program without a time limit. It is found where Windows
// would find it and judged there; one not found, or Windows' own, is not
// started. The rest starts by the full path that was judged, so that no
// other file of that name, earlier on some search path, can start instead.
void RunServiceProgram(const char* command) {
    char program[PATH_BUFFER_SIZE];
    const char* arguments = nullptr;
    const char* reason = FindProgramOfCommand(command, program, &arguments)
                             ? WindowsProgramRefusal(program) : kNotFound;
    if (reason) {
        LogRefusedProgram("service program", command, reason);
        return;
    }
    char judged[PATH_BUFFER_SIZE + SERVICE_COMMAND_SIZE + 2];
    strcpy(judged, "\"");
    strcat(judged, program);
    strcat(judged, "\"");
    strcat(judged, arguments);  // the command's own rest: it fits beside the longest path
    StartProgramAndWait("service program", judged, WithoutWindow);
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
