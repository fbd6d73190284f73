// Finding "/log=", "/preview" and "/norestart" on the command line. An option counts only
// where a word begins, so that the program's own path, or a value of
// another option, cannot be taken for one.
#include "app/command_options.h"

#include "app/command_tail.h"
#include "platform/mbtext.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The first occurrence of `option` that begins a word after the program's
// name, or null.
const char* FindOption(const char* line, const char* option) {
    line = CommandLineTail((char*)line);  // reads only
    const char* previous = nullptr;  // the character before `p`
    for (const char* p = line; *p; previous = p, p = MbNext(p))
        if ((!previous || IsBlank(*previous)) && strncmp(p, option, strlen(option)) == 0) return p;
    return nullptr;
}

// The text from `value` up to `end` (a character) or the terminator;
// false when it does not fit.
bool CopyUntil(const char* value, char end, char* out, size_t size) {
    size_t length = 0;
    for (const char* p = value; *p && *p != end; p = MbNext(p)) length = (size_t)(MbNext(p) - value);
    if (length >= size) return false;
    memcpy(out, value, length);
    out[length] = 0;
    return true;
}

// `option` standing as a word of its own, not the start of a longer one.
bool WordOption(const char* command_line, const char* option) {
    size_t length = strlen(option);
    for (const char* p = FindOption(command_line, option); p; p = FindOption(MbNext(p), option)) {
        char after = p[length];
        if (after == 0 || IsBlank(after)) return true;
    }
    return false;
}

}  // namespace

bool LogPathOption(const char* command_line, char* path, size_t size) {
    const char kOption[] = "/log=";
    const char* option = FindOption(command_line, kOption);
    if (!option || size == 0) return false;
    const char* value = option + sizeof kOption - 1;
    bool fits = *value == '"' ? CopyUntil(value + 1, '"', path, size) : CopyUntil(value, ' ', path, size);
    return fits && path[0] != 0;
}

bool PreviewOption(const char* command_line) { return WordOption(command_line, "/preview"); }

bool NoRestartOption(const char* command_line) { return WordOption(command_line, "/norestart"); }
