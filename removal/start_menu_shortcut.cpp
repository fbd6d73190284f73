// Removing the product's shortcut from the Start menu's Programs folder, and
// its folder once that is empty. The Programs folder itself always stays,
// and so do Windows' own folders and a shortcut that starts Windows' own or
// another maker's program: judged by the target the shortcut holds, or,
// when it holds none that can be read, by Windows' own shortcut names.

#include "removal/start_menu_shortcut.h"

#include "platform/mbtext.h"
#include "removal/change_log.h"
#include "removal/path_macros.h"
#include "removal/guardrails/product_names.h"
#include "removal/shortcut_target.h"
#include "removal/special_folders.h"
#include "removal/system_changes.h"
#include "removal/path_parts.h"
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

const char kWindowsFolder[] = "one of Windows' own Start-menu folders";
const char kWindowsShortcut[] = "one of Windows' own shortcuts";

// The folders Windows' setup makes in the Programs folder, in the spellings
// of Windows 95 to 11.
const char* const kWindowsFolders[] = {
    "Accessories", "Administrative Tools", "Startup", "System Tools", "Games", "Communications",
    "Entertainment", "Accessibility", "Multimedia", "Maintenance", "Tablet PC", "Online Services",
    "Windows Accessories", "Windows Administrative Tools", "Windows System",
    "Windows Ease of Access", "Windows PowerShell",
};

// The shortcuts Windows' setup puts in the Programs folder itself.
const char* const kWindowsShortcuts[] = {
    "Internet Explorer", "Windows Explorer", "MS-DOS Prompt", "Command Prompt", "Outlook Express",
    "Windows Media Player", "Windows Update", "Windows Messenger", "Remote Assistance",
    "Windows Movie Maker", "Windows Catalog", "Set Program Access and Defaults", "Default Programs",
    "Windows Mail", "Windows Fax and Scan", "Windows Defender", "Windows Photo Gallery",
    "Windows Contacts", "Windows Calendar", "Windows Easy Transfer", "XPS Viewer",
};

bool IsOneOf(const char* name, const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (MbSameNoCase(name, names[i])) return true;
    return false;
}

// The folder name's first component (a folder below it is Windows' too).
bool InWindowsFolder(const char* folder_name) {
    char first[TAVK_TEXT_LEN + 1];
    while (IsSeparator(*folder_name)) ++folder_name;
    const char* end = folder_name;
    while (*end && !IsSeparator(*end)) end = MbNext(end);
    size_t length = (size_t)(end - folder_name);
    if (!length || length >= sizeof first) return false;
    memcpy(first, folder_name, length);
    first[length] = 0;
    return IsOneOf(first, kWindowsFolders, sizeof kWindowsFolders / sizeof *kWindowsFolders);
}

// Why the shortcut is not the product's, or null. A target that is gone
// leaves the shortcut to go by its name.
const char* OthersShortcutReason(const UninstallData& data, const char* shortcut) {
    char target[PATH_BUFFER_SIZE];
    if (ReadShortcutTarget(shortcut, target))
        return NamesExistingFile(target) ? OtherProgramReason(data, target) : nullptr;
    if (InWindowsFolder(data.cpl_shortcut_folder_name)) return kWindowsFolder;
    bool at_top = !NamesSubfolder(data.cpl_shortcut_folder_name);
    bool windows_name = IsOneOf(data.cpl_shortcut_item_name, kWindowsShortcuts,
                                sizeof kWindowsShortcuts / sizeof *kWindowsShortcuts);
    return at_top && windows_name ? kWindowsShortcut : nullptr;
}

void RemoveShortcut(const UninstallData& data, const char* shortcut) {
    const char* reason = OthersShortcutReason(data, shortcut);
    if (reason) LogLeftAlone(FileDeletionChange, shortcut, reason);
    else DeleteFileNow(shortcut);
}

void RemoveShortcutFolder(const UninstallData& data, const char* folder) {
    if (InWindowsFolder(data.cpl_shortcut_folder_name))
        LogLeftAlone(FolderRemovalChange, folder, kWindowsFolder);
    else
        RemoveFolder(folder);
}

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
    if (item_name[0]) RemoveShortcut(data, shortcut);
    if (NamesSubfolder(folder_name)) RemoveShortcutFolder(data, folder);
    return 0;
}
