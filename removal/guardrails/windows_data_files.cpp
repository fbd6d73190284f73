// Windows' own data files, by a name and extension table per folder.
// Windows writes these under fixed names and in fixed folders, so a table
// costs no look at the file and holds on every Windows from 95 on:
//
// | Where                              | Windows' own                           |
// |------------------------------------|----------------------------------------|
// | the Windows folder                 | its INI files, 9x's registry hives,    |
// |                                    | 9x's TCP/IP files, boot files          |
// | the system folder                  | national-language tables (.nls), NT's  |
// |                                    | start-up files                         |
// | system\config, system\drivers\etc, | the registry's hives, TCP/IP's files,  |
// | system\catroot*, Windows\Boot,     | the catalogs, the boot files, the      |
// | Windows\repair (and below)         | hives' spare copies: everything        |
// | in or below the Windows folder     | catalogs (.cat): Windows files them    |
// |                                    | under names of its own making          |
#include "removal/guardrails/windows_data_files.h"

#include "platform/mbtext.h"

namespace {

const char* const kWindowsFolderNames[] = {
    "win.ini",     "system.ini",  "control.ini",  "progman.ini", "protocol.ini", "winfile.ini",
    "dosapp.ini",  "wininit.ini", "wininit.bak",  "desktop.ini", "system.dat",   "user.dat",
    "system.da0",  "user.da0",    "classes.dat",  "system.1st",  "win.com",      "bootstat.dat",
    "hosts",       "hosts.sam",   "lmhosts",      "lmhosts.sam", "networks",     "services",
    "protocol",    "bootlog.txt", "setuplog.txt",
};
const char* const kSystemFolderNames[] = {"config.nt", "autoexec.nt"};
// Below the system folder, then below the Windows folder: whole folders.
const char* const kSystemDataFolders[] = {"config", "drivers\\etc", "catroot", "catroot2"};
const char* const kWindowsDataFolders[] = {"boot", "repair"};

template <size_t N>
bool InTable(const char* name, const char* const (&table)[N]) {
    for (const char* entry : table)
        if (MbSameNoCase(name, entry)) return true;
    return false;
}

bool HasExtension(const char* name, const char* extension) {
    const char* dot = MbFindLastChar(name, '.');
    return dot && MbSameNoCase(dot, extension);
}

// The part of `folder` below `base` ("" for `base` itself), or null.
const char* Below(const char* folder, const char* base) {
    const char* rest = base[0] ? MbAfterPrefixNoCase(folder, base) : nullptr;
    if (!rest) return nullptr;
    if (!*rest) return rest;
    return *rest == '\\' ? rest + 1 : nullptr;
}

// `below` is one of the data folders, or lies below one.
template <size_t N>
bool InDataFolder(const char* below, const char* const (&folders)[N]) {
    for (const char* data_folder : folders) {
        const char* rest = MbAfterPrefixNoCase(below, data_folder);
        if (rest && (!*rest || *rest == '\\')) return true;
    }
    return false;
}

}  // namespace

bool IsWindowsDataFile(const char* windows_form, const char* system_form, const char* folder,
                       const char* name) {
    if (!folder || !name) return false;
    const char* in_windows = Below(folder, windows_form);
    if (!in_windows) return false;
    if (HasExtension(name, ".cat")) return true;
    if (!*in_windows) return InTable(name, kWindowsFolderNames);
    if (InDataFolder(in_windows, kWindowsDataFolders)) return true;
    const char* in_system = Below(folder, system_form);
    if (!in_system) return false;
    if (*in_system) return InDataFolder(in_system, kSystemDataFolders);
    return HasExtension(name, ".nls") || InTable(name, kSystemFolderNames);
}
