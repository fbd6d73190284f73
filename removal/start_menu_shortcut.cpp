// Removing the product's shortcut from the Start menu's Programs folder, and
// its folder once that is empty. The Programs folder itself always stays.
#include "removal/removal_steps.h"

#include "platform/mbtext.h"
#include "removal/special_folders.h"
#include "removal/system_changes.h"
#include "system/windows_family.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// True when no component of `name` is made of dots and spaces only: such a
// component ("..", ".", "...") leads out of the folder or back to it.
bool StaysInside(const char* name) {
    bool only_dots = false;
    bool in_component = false;
    for (const char* p = name;; p = MbNext(p)) {
        if (!*p || IsSeparator(*p)) {
            if (in_component && only_dots) return false;
            if (!*p) return true;
            in_component = false;
            continue;
        }
        if (!in_component) only_dots = true;
        in_component = true;
        if (*p != '.' && *p != ' ') only_dots = false;
    }
}

// A folder name of separators only, or none, names the Programs folder.
bool NamesSubfolder(const char* name) {
    for (const char* p = name; *p; p = MbNext(p))
        if (!IsSeparator(*p)) return true;
    return false;
}

bool EndsWithBackslash(const char* text) {
    const char* last = nullptr;
    for (const char* p = text; *p; p = MbNext(p)) last = p;
    return last && *last == '\\';
}

// Joins a directory, a backslash and a name into a MAX_PATH buffer; false
// when the path would be longer than 259 characters.
bool JoinPath(char* out, const char* directory, const char* name, const char* extension) {
    const char* separator = EndsWithBackslash(directory) ? "" : "\\";
    size_t length = strlen(directory) + strlen(separator) + strlen(name) + strlen(extension);
    if (length > MAX_PATH - 1) return false;
    wsprintfA(out, "%s%s%s%s", directory, separator, name, extension);
    return true;
}

// All users' Programs folder on Windows 2000 and later, the user's before.
int ProgramsFolderId() {
    return GetWindowsFamily() == FamilyWin2000 ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS;
}

bool GetProgramsFolder(char* folder) { return GetSpecialFolder(ProgramsFolderId(), folder); }

}  // namespace

// A path that would not fit, or a name leading out of the Programs folder,
// skips the whole step: a cut path names some other file or folder.
int RemoveStartMenuShortcut(const UninstallData& data) {
    const char* folder_name = data.cpl_shortcut_folder_name;
    const char* item_name = data.cpl_shortcut_item_name;
    if (!StaysInside(folder_name) || !StaysInside(item_name)) return 0;
    char programs[MAX_PATH];
    if (!GetProgramsFolder(programs)) return 0;
    char folder[MAX_PATH];
    char shortcut[MAX_PATH];
    if (!JoinPath(folder, programs, folder_name, "") || !JoinPath(shortcut, folder, item_name, ".lnk"))
        return 0;
    if (item_name[0]) DeleteFileNow(shortcut);
    if (NamesSubfolder(folder_name)) RemoveFolder(folder);
    return 0;
}
