// Finding "/log=", "/preview" and "/norestart" on the command line. An option counts only
// where a word begins, so that the program's own path, or a value of
// another option, cannot be taken for one. "/rootkey=" keeps its older,
// looser reading.
#include "app/command_options.h"

#include "app/command_tail.h"
#include "app/command_words.h"
#include "platform/mbtext.h"

namespace {

// The first occurrence of `option` that begins a word after the program's
// name, or null.
const char* FindOption(const char* line, const char* option) {
    line = CommandLineTail(line);
    const char* previous = nullptr;  // the character before `p`
    for (const char* p = line; *p; previous = p, p = MbNext(p))
        if ((!previous || IsCommandBlank(*previous)) && strncmp(p, option, strlen(option)) == 0) return p;
    return nullptr;
}

// `option` standing as a word of its own, not the start of a longer one.
bool WordOption(const char* command_line, const char* option) {
    size_t length = strlen(option);
    for (const char* p = FindOption(command_line, option); p; p = FindOption(MbNext(p), option)) {
        char after = p[length];
        if (after == 0 || IsCommandBlank(after)) return true;
    }
    return false;
}

}  // namespace

bool LogPathOption(const char* command_line, char* path, size_t size) {
    const char kOption[] = "/log=";
    const char* option = FindOption(command_line, kOption);
    if (!option || size == 0) return false;
    const char* value = option + sizeof kOption - 1;
    bool fits = CopyQuotableWord(value, " ", path, size);  // a tab is part of the path
    return fits && path[0] != 0;
}

bool PreviewOption(const char* command_line) { return WordOption(command_line, "/preview"); }

bool NoRestartOption(const char* command_line) { return WordOption(command_line, "/norestart"); }

bool RootKeyOption(const char* command_line, char* path, size_t size) {
    const char kOption[] = "/rootkey=";
    const char* option = MbFind(command_line, kOption);
    if (!option) return false;
    MbCopy(path, size, option + sizeof kOption - 1);
    char* space = (char*)MbFindChar(path, ' ');
    if (space) *space = 0;
    return true;
}
