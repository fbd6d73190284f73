// The test's handle on the fake world: seeding it, inspecting it and making
// any call fail on demand. Only tests and the fake itself include this.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32_api.h"

namespace fake {

// Puts the whole world back to its start: empty registry, no open handles,
// no failure rules, a default command line and module path.
void Reset();

// Each part of the fake registers how it is put back to its start.
struct ResetHook {
    explicit ResetHook(std::function<void()> reset);
};

// Failure injection. The nth call (counted from now, 1-based) of `api` whose
// subject ends with `subject` (case-insensitive, at a path boundary; empty
// matches every subject) fails with `error`. nth 0 fails every such call.
void FailCall(const std::string& api, DWORD error, int nth = 1,
              const std::string& subject = "");
// Returns the error a rule injects into this call, or 0. The fake's own
// functions call it first.
DWORD InjectedFailure(const char* api, const std::string& subject);

// Every call into the fake, in order, as "Api subject".
const std::vector<std::string>& CallLog();
void LogCall(const char* api, const std::string& subject);
// Calls in the log whose text starts with `prefix`.
std::vector<std::string> CallsTo(const std::string& prefix);

// Case-insensitive (ASCII) comparison and suffix test at a '\' boundary.
bool SameName(const std::string& a, const std::string& b);
bool EndsWithPath(const std::string& subject, const std::string& suffix);

// --- The process environment ---
void SetCommandLine(const std::string& line);
void SetModulePath(const std::string& path);
void SetAnsiCodePage(UINT code_page);

// --- The registry. Paths are written "HKLM\\Key\\Sub"; roots HKLM, HKCU,
// HKCR and HKU. ---
void RegSeedKey(const std::string& path);
void RegSeedString(const std::string& key_path, const std::string& name,
                   const std::string& text);
// Stores the bytes as given: no terminator is added.
void RegSeedBytes(const std::string& key_path, const std::string& name, DWORD type,
                  const std::string& bytes);
bool RegKeyExists(const std::string& path);
bool RegValueExists(const std::string& key_path, const std::string& name);
// The value's data as stored; empty when it is missing.
std::string RegValueBytes(const std::string& key_path, const std::string& name);
// Every key and value below the root as sorted lines, to compare a whole
// tree before and after a step.
std::vector<std::string> RegDump(const std::string& path = "HKLM");
// Registry handles opened and not yet closed.
int OpenKeyCount();

}  // namespace fake

namespace fake {
// --- The Windows version the system reports ---
struct WindowsVersion {
    DWORD platform;
    DWORD major;
    DWORD minor;
    DWORD build;
};
extern const WindowsVersion kWin95, kWin98, kWinMe, kNT351, kNT4, kWin2000, kWinXP, kWin10;
void SetWindowsVersion(const WindowsVersion& version);
}  // namespace fake

namespace fake {
// --- The file system. Paths are absolute ("C:\\Dir\\Name"), names
// case-insensitive; adding a path creates its missing parent folders. ---
void AddDirectory(const std::string& path);
void AddFile(const std::string& path, const std::string& contents = "",
             DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
// A locked file is one Windows will not delete now (a running program):
// DeleteFileA and opening it for writing are refused with access denied.
void SetFileLocked(const std::string& path, bool locked);
// The 8.3 name of the last component; one is made up when a file is added.
void SetShortName(const std::string& path, const std::string& short_name);
bool FileExists(const std::string& path);
// The bytes as stored on disk; empty when the file is missing.
std::string FileContents(const std::string& path);
// INVALID_FILE_ATTRIBUTES when the path is missing.
DWORD FileAttributesOf(const std::string& path);
// Every file and folder as sorted lines, to compare before and after a step.
std::vector<std::string> FileDump();
// The Windows directory of GetWindowsDirectoryA, the shared one of
// GetSystemWindowsDirectoryA (the same unless set apart) and the system
// directory. Defaults: C:\WINDOWS, C:\WINDOWS and C:\WINDOWS\SYSTEM32.
void SetWindowsDirectory(const std::string& path);
void SetSharedWindowsDirectory(const std::string& path);
void SetSystemDirectory(const std::string& path);
// Deletions waiting for the next start: paths given to MoveFileExA with
// MOVEFILE_DELAY_UNTIL_REBOOT and no new name, in order.
std::vector<std::string> PendingDeletes();
// The next start of Windows: NT carries out the pending deletions; Windows
// 9x carries out WININIT.INI's "NUL=" lines, which name files by their short
// names only, and then renames the file to WININIT.BAK. Returns the paths
// that could not be resolved.
std::vector<std::string> RestartWindows();

// --- Started programs. The program is found from the command line as
// Windows finds it: a quoted name, or else the shortest space-delimited
// prefix that names an existing file (".exe" added to a name without an
// extension). ---
struct ProcessScript {
    bool starts = true;           // false: CreateProcessA fails
    DWORD start_error = 193;      // its error then (ERROR_BAD_EXE_FORMAT)
    bool wait_fails = false;      // WaitForSingleObject answers WAIT_FAILED
    DWORD exit_code = 0;
    // Runs when the program starts, given its command line (to act as the
    // program: write its result file, for instance).
    std::function<void(const std::string& command_line)> run;
};
void ScriptProcess(const std::string& program, const ProcessScript& script);
struct StartedProcess {
    std::string program;
    std::string command_line;
    DWORD flags;
    DWORD startup_size;
    BOOL inherit_handles;
};
const std::vector<StartedProcess>& StartedProcesses();

// --- Handles: processes, threads, searches and streams still open. ---
int OpenHandleCount();
void* OpenHandle(const char* kind);  // the fake's own use
void TrackHandle(void* handle, const char* kind);
bool CloseHandleOf(void* handle, const char* kind);

// The version the fake system reports, for the fake's own rules.
const WindowsVersion& CurrentWindowsVersion();
}  // namespace fake
