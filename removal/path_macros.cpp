// Expanding the path macros.
#include "removal/path_macros.h"

#include "platform/mbtext.h"

namespace {

// A directory call's answer: the length, or 0 when it failed or answered
// the size it would have needed.
UINT FittedLength(UINT length, UINT size) { return length < size ? length : 0; }

}  // namespace

// The room counts bytes, so that double-byte text can never outgrow the
// buffer the room was taken from.
int ReplaceMacro(const char* source, const char* macro, const char* value, char* out,
                 size_t room) {
    size_t macro_length = strlen(macro), value_length = strlen(value);
    while (*source) {
        bool match = macro_length && strncmp(source, macro, macro_length) == 0;
        const char* piece = match ? value : source;
        size_t length = match ? value_length : (size_t)(MbNext(source) - source);
        if (room < length) break;
        memcpy(out, piece, length);
        out += length;
        room -= length;
        source += match ? macro_length : length;
    }
    *out = 0;
    return *source == 0;
}

bool GetMacroDirs(char* windows_dir, char* system_dir) {
    if (!GetSystemWindowsDir(windows_dir, PATH_BUFFER_SIZE)) return false;
    return FittedLength(GetSystemDirectoryA(system_dir, PATH_BUFFER_SIZE), PATH_BUFFER_SIZE) != 0;
}

bool ExpandPathMacros(const char* entry, const char* windows_dir, const char* system_dir,
                      char* out) {
    char stage[PATH_BUFFER_SIZE];
    return ReplaceMacro(entry, "%WIN_DIR%", windows_dir, stage, PATH_MACRO_ROOM) &&
           ReplaceMacro(stage, "%WIN_SYS_DIR%", system_dir, out, PATH_MACRO_ROOM);
}
