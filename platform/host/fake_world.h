// The test's handle on the fake world: seeding it, inspecting it and making
// any call fail on demand. Only tests and the fake itself include this.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "win32_api.h"

namespace fake {

// Puts the whole world, and the stand-ins, back to their start: empty
// registry, no open handles, no failure rules, a default command line and
// module path.
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

// Something another program does while this one runs: `change` runs just
// before the nth call (counted from now, 1-based) of `api` whose subject
// ends with `subject`, as FailCall counts them.
void BeforeCall(const std::string& api, int nth, std::function<void()> change,
                const std::string& subject = "");

// Every call into the fake, in order, as "Api subject".
const std::vector<std::string>& CallLog();
void LogCall(const char* api, const std::string& subject);
// Calls in the log whose text starts with `prefix`.
std::vector<std::string> CallsTo(const std::string& prefix);

// The lines of a text file's contents, without their CR LF or LF ends.
std::vector<std::string> TextLines(const std::string& text);

// Case-insensitive (ASCII) comparison and suffix test at a '\' boundary.
bool SameName(const std::string& a, const std::string& b);
bool EndsWithPath(const std::string& subject, const std::string& suffix);

// The little-endian 16- and 32-bit numbers at `at` of a compiled resource
// or template; 0 past its end.
WORD LittleWord(const std::string& data, size_t at);
DWORD LittleDword(const std::string& data, size_t at);

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
// A registry link at `path` leading to the key at `target` ("HKLM\\A").
void RegSeedLink(const std::string& path, const std::string& target);
// True when the key at `path` is a link (its target is not looked at).
bool RegIsLink(const std::string& path);
bool RegKeyExists(const std::string& path);
bool RegValueExists(const std::string& key_path, const std::string& name);
// The value's data as stored; empty when it is missing.
std::string RegValueBytes(const std::string& key_path, const std::string& name);
// Every key and value below the root as sorted lines, to compare a whole
// tree before and after a step.
std::vector<std::string> RegDump(const std::string& path = "HKLM");
// Registry handles opened and not yet closed.
int OpenKeyCount();

// --- The Windows version the system reports ---
struct WindowsVersion {
    DWORD platform;
    DWORD major;
    DWORD minor;
    DWORD build;
};
extern const WindowsVersion kWin95, kWin98, kWinMe, kNT351, kNT4, kWin2000, kWinXP, kWin10;
void SetWindowsVersion(const WindowsVersion& version);

// --- The Windows directory, the system directory and the shared Windows
// directory of a multi-user system. ---
void SetWindowsDirectory(const std::string& path);
void SetSystemDirectory(const std::string& path);
void SetSharedWindowsDirectory(const std::string& path);
// The user's temporary folder that GetTempPathA gives, as given (it
// normally ends in a backslash).
void SetTempDirectory(const std::string& path);
// An environment variable for ExpandEnvironmentStringsA ("SystemDrive" is
// "C:" and "SystemRoot" the Windows directory unless set).
void SetEnvironmentValue(const std::string& name, const std::string& value);

// --- Files and directories. Paths are compared case-insensitively after
// "." and ".." and repeated or trailing backslashes are resolved, as
// Windows does. Adding a file adds its directories. ---
void AddFile(const std::string& path);
void AddDirectory(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// --- More of the file system: contents, attributes, locked files, short
// names and deferred deletion. The Windows and system directories exist as
// folders from the start; a test that moves them adds the new folders. ---
void AddFile(const std::string& path, const std::string& contents,
             DWORD attributes = FILE_ATTRIBUTE_ARCHIVE);
// A locked file is one Windows will not delete now (a running program):
// DeleteFileA and opening it for writing are refused with access denied.
void SetFileLocked(const std::string& path, bool locked);
// The 8.3 name of the last component; one is made up when a file is added.
void SetShortName(const std::string& path, const std::string& short_name);
// The bytes as stored on disk; empty when the file is missing.
std::string FileContents(const std::string& path);
// INVALID_FILE_ATTRIBUTES when the path is missing.
DWORD FileAttributesOf(const std::string& path);
// Every file and folder as sorted lines, to compare before and after a step.
std::vector<std::string> FileDump();
// Deletions waiting for the next start: paths given to MoveFileExA with
// MOVEFILE_DELAY_UNTIL_REBOOT and no new name, in order.
std::vector<std::string> PendingDeletes();
// The next start of Windows: NT carries out the pending deletions; Windows
// 9x carries out WININIT.INI's "NUL=" lines, which name files by their short
// names only, and then renames the file to WININIT.BAK. Returns the paths
// that could not be resolved.
std::vector<std::string> RestartWindows();

// A 32-bit program on 64-bit Windows: while on, the program's file calls
// that name the system directory reach WindowsDirectory()\SysWOW64 instead,
// unless it has turned the redirection off. The test's own calls see the
// real folders.
void SetWow64(bool on);

// --- Other ways to a folder: a share ("\\\\server\\name") or a subst
// drive that reaches a local folder, a link (a junction: a folder with the
// reparse-point attribute that leads to another), and the kind of a drive
// (every letter is fixed unless set). ---
void AddShare(const std::string& share, const std::string& folder);
void SetSubstDrive(char letter, const std::string& folder);
// Handles opened through this letter report `serial` for their volume, as a
// system that makes a letter's serial up may, whatever folder it reaches.
void SetDriveSerial(char letter, DWORD serial);
void AddLink(const std::string& path, const std::string& target);
// A file that is a symbolic link to another file (Vista and later).
void AddFileLink(const std::string& path, const std::string& target);
// Another program renames the folder away (to "<folder>.moved") and puts a
// link to `target` in its place. Windows refuses the rename, and so does
// this, while a handle on the folder lacks FILE_SHARE_DELETE: false then.
// An unmarked link lacks the reparse-point attribute and is followed even
// by FILE_FLAG_OPEN_REPARSE_POINT, as Wine's Unix links are. Wine also
// renames a folder held so: `despite_holds`.
bool SwapFolderForLink(const std::string& folder, const std::string& target, bool marked = true,
                       bool despite_holds = false);
void SetDriveType(char letter, UINT type);

// The directories as set, for the fake's own use (no call is logged).
std::string WindowsDirectory();
std::string SystemDirectory();

// --- Messages: the user's language, UTF-16 registry values ---
void SetUserLanguage(LANGID language);
// A REG_SZ value stored as UTF-16 with its terminator, as the NT registry
// keeps it.
void RegSeedWideString(const std::string& key_path, const std::string& name,
                       const std::u16string& text);

// --- Kernel handles: CloseHandle asks each kind's closer in turn ---
struct HandleCloser {
    explicit HandleCloser(std::function<bool(HANDLE)> close);
};

// --- Every kernel handle still open: searches, files, and the stand-ins'
// processes, threads, mutexes, service and device lists. ---
int OpenHandleCount();
// The fake's and the stand-ins' own use: a handle of `kind` handed out,
// and closed only as that kind.
void* OpenHandle(const char* kind);
bool CloseHandleOf(void* handle, const char* kind);
int OpenHandlesOf(const char* kind);

// The version the fake system reports, for the fake's own rules.
const WindowsVersion& CurrentWindowsVersion();

// --- Pauses: Sleep and timed waits wait for nothing; the total they were
// asked for since the reset. ---
DWORD SleptMilliseconds();
void PassTime(DWORD milliseconds);  // the stand-ins' own use

// --- Windows' own files: version resources (version.dll) and Windows File
// Protection (sfc.dll, from Windows 2000 on; no sfc.dll loads on an older
// version). ---
// Gives an existing file a version resource (and makes it a program image,
// "MZ" in front, as only those carry one) whose string table of
// `translation` (language in the low word, code page in the high word, as
// "\VarFileInfo\Translation" lists it) names `company`; a translation of 0
// lists none, and the table is then U.S. English in Unicode ("040904b0").
void SetFileCompany(const std::string& path, const std::string& company,
                    DWORD translation = 0x04B00409);
// What SfcIsFileProtected then reports as protected.
void SetFileProtected(const std::string& path);

// --- The program's own files in shared folders. A file added with
// FILE_ATTRIBUTE_REPARSE_POINT is a symbolic link: opened with
// FILE_FLAG_OPEN_REPARSE_POINT its handle tells the mark, otherwise it
// tells what the link leads to (the mark cleared). ---
// The security descriptor a folder or file was created with
// (CreateDirectoryA, or CreateFileA making a new file); null for the
// default one.
const void* CreatedDescriptor(const std::string& path);
// A file's number of names (hard links); 1 unless set.
void SetFileLinkCount(const std::string& path, DWORD count);
// A program started inheriting handles holds each inheritable file handle
// under the same value until it closes it (the stand-ins' own use).
void InheritHandles();

}  // namespace fake
