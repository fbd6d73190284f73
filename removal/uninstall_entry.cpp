// The product's entry in the Windows uninstall registration: handing the
// removal to its registered command once, guarded by a marker value, and
// deleting the entry late in the removal. An entry that shows itself to be
// another program's is left whole: its command removes that program.

#include "removal/uninstall_entry.h"

#include "messages/error_report.h"
#include "platform/mbtext.h"
#include "removal/change_log.h"
#include "removal/guardrails/product_names.h"
#include "removal/started_programs.h"
#include "removal/system_changes.h"
#include "system/windows_directory.h"
#include "system/one_run.h"
#include "system/run_state.h"
#include "system/run_summary.h"
#include "uninstall_data/registry_read.h"

namespace {

const char kUninstallRegistration[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kMarker[] = "RemovalInProgress";
const DWORD kCommandSize = 513;  // 512 characters and the terminator

// An empty name, or one of backslashes only, resolves to the registration
// key itself: it names no entry, and deleting it would take every program's.
bool NamesEntry(const char* uninstall_key) {
    for (const char* p = uninstall_key; *p; p = MbNext(p))
        if (*p != '\\') return true;
    return false;
}

// Data of any type is taken as text; it must end within the buffer.
bool Terminate(char* command, DWORD size) {
    if (size < kCommandSize) {
        command[size] = 0;
        return true;
    }
    return memchr(command, 0, kCommandSize) != nullptr;
}

// False when the value is missing, too long, or empty (no command at all).
bool ReadCommand(HKEY entry, const char* name, char* command) {
    DWORD size = kCommandSize;
    if (RegQueryValueExA(entry, name, nullptr, nullptr, (LPBYTE)command, &size) != ERROR_SUCCESS)
        return false;
    return Terminate(command, size) && command[0] != 0;
}

// With a dialog the interactive command is preferred, else the quiet one.
bool ReadPreferredCommand(HWND dialog, HKEY entry, char* command) {
    const char* first = dialog ? "UninstallString" : "QuietUninstallString";
    const char* second = dialog ? "QuietUninstallString" : "UninstallString";
    return ReadCommand(entry, first, command) || ReadCommand(entry, second, command);
}

// A command without any backslash is taken to lie in the Windows directory.
// False when that would no longer fit: a cut command would start some other
// program, or the right one with other arguments.
bool CompleteCommand(const char* command, const char* windows_dir, char* line) {
    if (MbFindChar(command, '\\')) {
        lstrcpynA(line, command, kCommandSize);
        return true;
    }
    if (lstrlenA(windows_dir) + 1 + lstrlenA(command) > (int)kCommandSize - 1) return false;
    wsprintfA(line, "%s\\%s", windows_dir, command);
    return true;
}

struct EntryPath {
    char text[sizeof kUninstallRegistration + TAVK_TEXT_LEN + 1];
    explicit EntryPath(const char* uninstall_key) {
        wsprintfA(text, "%s\\%s", kUninstallRegistration, uninstall_key);
    }
};

bool WriteMarker(HKEY entry, const char* uninstall_key) {
    EntryPath path(uninstall_key);
    return ChangeMadeOrPreviewed(SetRegistryText(HKEY_LOCAL_MACHINE, entry, path.text, kMarker, "").outcome);
}

// Leaves in `line` the command to start and returns 0, or returns the
// step's result when nothing is to be started. Neither key is closed here.
int PrepareStart(HWND dialog, HKEY entry, const char* uninstall_key, char* line) {
    char command[kCommandSize];
    if (!ReadPreferredCommand(dialog, entry, command)) return 1;
    char windows_dir[kCommandSize];
    if (!GetSystemWindowsDir(windows_dir, sizeof windows_dir)) return 2;
    bool fits = CompleteCommand(command, windows_dir, line);
    if (ValuePresent(entry, kMarker)) return 1;
    if (!fits) return 4;
    return WriteMarker(entry, uninstall_key) ? 0 : 1;
}

const char kOtherProduct[] = "its DisplayName names another product";
const char kOtherMaker[] = "its Publisher names another maker";

// A value's text for judging; missing, too long or blank reads as "".
void ReadEntryText(HKEY entry, const char* name, char* text, DWORD size) {
    ReadTextValue(entry, name, text, size);
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) text[0] = 0;
}

// The reason when the entry is another program's, null when it is the
// product's: an entry names its program in DisplayName and its maker in
// Publisher, and one that names neither is taken for the product's.
const char* AnotherProgramsEntry(HKEY entry, const UninstallData& data) {
    char display_name[kCommandSize], publisher[kCommandSize];
    ReadEntryText(entry, "DisplayName", display_name, sizeof display_name);
    ReadEntryText(entry, "Publisher", publisher, sizeof publisher);
    if (display_name[0] && !NamesTheProduct(data, display_name)) return kOtherProduct;
    if (publisher[0] && !NamesTheMaker(data, publisher)) return kOtherMaker;
    return nullptr;
}

void LogOtherEntry(ChangeKind kind, const char* path, const char* reason) {
    LogLeftAlone(kind, KeyName(HKEY_LOCAL_MACHINE, path, nullptr).text, reason);
}

int CloseKeys(HKEY uninstall, HKEY entry) {
    if (RegCloseKey(entry) != ERROR_SUCCESS) {
        RegCloseKey(uninstall);
        return 2;
    }
    return RegCloseKey(uninstall) == ERROR_SUCCESS ? 0 : 2;
}

// Starts the command and waits for its end; a preview only lists it, and
// the removal then goes as it would after the command.
int StartAndWait(char* line) {
    DWORD exit_code = 0;
    LendOneRunLock();  // the command may run this program again
    ProgramOutcome outcome =
        StartProgramAndWait("registered uninstall command", line, WithOwnStartupInfo, &exit_code);
    TakeBackOneRunLock(!NoRestartRun);
    if (outcome == ProgramEnded) NoteCommandExitCode(exit_code);
    return outcome == ProgramEnded || outcome == ProgramPreviewed ? 0 : 4;
}

}  // namespace

int RunRegisteredUninstaller(HWND dialog, const UninstallData& data) {
    HKEY uninstall;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kUninstallRegistration, &uninstall) != ERROR_SUCCESS)
        return 2;
    HKEY entry;
    // Such a name would open the registration key itself as the entry.
    if (!NamesEntry(data.uninstall_key) || RegOpenKeyA(uninstall, data.uninstall_key, &entry) != ERROR_SUCCESS) {
        RegCloseKey(uninstall);
        return 1;
    }
    char line[kCommandSize];
    const char* others = AnotherProgramsEntry(entry, data);
    int status = others ? 1 : PrepareStart(dialog, entry, data.uninstall_key, line);
    if (others) LogOtherEntry(UninstallCommandChange, EntryPath(data.uninstall_key).text, others);
    int closed = CloseKeys(uninstall, entry);
    if (status != 0) return status;
    return closed != 0 ? closed : StartAndWait(line);
}

int RemoveUninstallEntry(const UninstallData& data) {
    if (!NamesEntry(data.uninstall_key)) return 0;
    EntryPath path(data.uninstall_key);
    HKEY entry;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path.text, &entry) != ERROR_SUCCESS) return 0;
    const char* others = AnotherProgramsEntry(entry, data);
    if (RegCloseKey(entry) != ERROR_SUCCESS) {
        ReportTavkError(2381, "RegCloseKey() failed");
        return 2;
    }
    if (others) {
        LogOtherEntry(KeyDeletionChange, path.text, others);
        return 0;
    }
    ChangeOutcome deleted = DeleteRegistryKey(HKEY_LOCAL_MACHINE, path.text, KeyWithEverything).outcome;
    return ChangeMadeOrPreviewed(deleted) || deleted == ChangeRefused ? 0 : 2;
}
