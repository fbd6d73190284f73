// The command line of a program that lies in this program's own folder.
#include "removal/sibling_program.h"

#include "platform/mbtext.h"

bool SiblingProgramCommand(const char* program, const char* arguments, char* command, size_t size) {
    char folder[SIBLING_MODULE_PATH_SIZE];
    DWORD length = GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return false;
    char* slash = (char*)MbFindLastChar(folder, '\\');
    if (slash) slash[1] = 0;
    else folder[0] = 0;
    // Two quotes, the blank and the terminator.
    if (strlen(folder) + strlen(program) + strlen(arguments) + 4 > size) return false;
    strcpy(command, "\"");
    strcat(command, folder);
    strcat(command, program);
    strcat(command, "\" ");
    strcat(command, arguments);
    return true;
}
