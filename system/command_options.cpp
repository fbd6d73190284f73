// Finding "/log=", "/preview" and "/norestart" on the command line, in any
// letter case (deployment tools and administrators write "/NoRestart"). An
// option counts only where a word begins, so that the program's own path,
// or a value of another option, cannot be taken for one. "/rootkey=" keeps
// its older, looser and case-sensitive reading.
#include "system/command_options.h"

#include "system/command_tail.h"
#include "system/command_words.h"
#include "platform/mbtext.h"

namespace {

// Where `option` begins a word of `tail`, at `from` or after it: the text
// behind the option, or null.
const char* FindOptionFrom(const char* tail, const char* from, const char* option) {
    const char* previous = nullptr;  // the character before `p`
    for (const char* p = tail; *p; previous = p, p = MbNext(p)) {
        if (p < from || (previous && !IsCommandBlank(*previous))) continue;
        if (const char* after = MbAfterPrefixNoCase(p, option)) return after;
    }
    return nullptr;
}

// The text behind the first `option` that begins a word after the
// program's name, or null.
const char* FindOption(const char* line, const char* option) {
    const char* tail = CommandLineTail(line);
    return FindOptionFrom(tail, tail, option);
}

// `option` standing as a word of its own, not the start of a longer one.
bool WordOption(const char* command_line, const char* option) {
    const char* tail = CommandLineTail(command_line);
    for (const char* after = FindOptionFrom(tail, tail, option); after;
         after = FindOptionFrom(tail, after, option))
        if (*after == 0 || IsCommandBlank(*after)) return true;
    return false;
}

}  // namespace

bool LogPathOption(const char* command_line, char* path, size_t size) {
    const char* value = FindOption(command_line, "/log=");
    if (!value || size == 0) return false;
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
