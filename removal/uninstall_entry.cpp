// The product's entry in the Windows uninstall registration: handing the
// removal to its registered command once, guarded by a marker value, and
// deleting the entry late in the removal.
#include "removal/removal_steps.h"

#include "messages/error_report.h"
#include "platform/mbtext.h"
#include "removal/started_programs.h"
#include "removal/system_changes.h"
#include "removal/windows_directory.h"
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

bool WriteMarker(HKEY entry, const char* uninstall_key) {
    char path[sizeof kUninstallRegistration + TAVK_TEXT_LEN + 1];
    wsprintfA(path, "%s\\%s", kUninstallRegistration, uninstall_key);
    return ChangeMadeOrPreviewed(SetRegistryText(HKEY_LOCAL_MACHINE, entry, path, kMarker, "").outcome);
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
    ProgramOutcome outcome =
        StartProgramAndWait("registered uninstall command", line, WithOwnStartupInfo, &exit_code);
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
    int status = PrepareStart(dialog, entry, data.uninstall_key, line);
    int closed = CloseKeys(uninstall, entry);
    if (status != 0) return status;
    return closed != 0 ? closed : StartAndWait(line);
}

int RemoveUninstallEntry(const UninstallData& data) {
    if (!NamesEntry(data.uninstall_key)) return 0;
    char path[sizeof kUninstallRegistration + TAVK_TEXT_LEN + 1];
    wsprintfA(path, "%s\\%s", kUninstallRegistration, data.uninstall_key);
    HKEY entry;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &entry) != ERROR_SUCCESS) return 0;
    if (RegCloseKey(entry) != ERROR_SUCCESS) {
        ReportTavkError(2381, "RegCloseKey() failed");
        return 2;
    }
    ChangeOutcome deleted = DeleteRegistryKey(HKEY_LOCAL_MACHINE, path, KeyWithEverything).outcome;
    return ChangeMadeOrPreviewed(deleted) || deleted == ChangeRefused ? 0 : 2;
}
