// The hand-over to a copy of this program, and the copy's own run. The run
// writes the copy into a new folder of its own (app/cleanup_place.h), with
// the hand-over list beside it, one line per file:
//   SIZE HIGH LOW PATH
// SIZE and the time of last writing (HIGH, LOW) tell the file the run
// found. It starts the copy with
//   "COPY" /cleanup-after=PROCESS,LIST [/log="PATH"]
// PROCESS and LIST are handles the copy inherits: this process, which it
// waits for, and the list, which it reads. What the copy deletes reaches
// it only that way: started by anything else, it deletes nothing.
#include "app/cleanup_copy.h"

#include "app/cleanup_place.h"
#include "system/command_words.h"
#include "app/run_record.h"
#include "platform/mbtext.h"
#include "removal/delete_on_restart.h"
#include "removal/emptied_folders.h"
#include "removal/file_in_use.h"
#include "removal/own_files.h"
#include "removal/started_programs.h"
#include "removal/system_changes.h"
#include "system/run_log.h"
#include "system/run_summary.h"
#include "system/run_state.h"
#include "system/run_time_functions.h"
#include "system/started_process.h"
#include "system/windows_family.h"

namespace {

const char kCleanupWord[] = "/cleanup-after=";
const size_t kCommandRoom = 2 * PATH_BUFFER_SIZE + 64;
const DWORD kListRoom = kMaxOwnFiles * (PATH_BUFFER_SIZE + 40);

// --- The hand-over ---

bool WriteListLine(HANDLE list, const OwnFile& file) {
    char line[PATH_BUFFER_SIZE + 48];
    int length = wsprintfA(line, "%lu %lu %lu %s\r\n", (unsigned long)file.size,
                           (unsigned long)file.written.dwHighDateTime,
                           (unsigned long)file.written.dwLowDateTime, file.path);
    DWORD written = 0;
    return WriteFile(list, line, (DWORD)length, &written, nullptr) && written == (DWORD)length;
}

// The list, written new in the place: its inheritable handle, back at the
// start, or INVALID_HANDLE_VALUE (nothing left behind).
HANDLE WriteHandOverList(CleanupPlace* place, char* path) {
    HANDLE list = CreateFileInPlace(place, kHandOverListName, true, path);
    if (list == INVALID_HANDLE_VALUE) {
        path[0] = 0;
        return list;
    }
    bool written = true;
    for (int i = 0; i < OwnFileCount() && written; ++i) written = WriteListLine(list, OwnFileAt(i));
    if (written && SetFilePointer(list, 0, nullptr, FILE_BEGIN) == 0) return list;
    CloseHandle(list);
    return INVALID_HANDLE_VALUE;
}

bool summary_in_command;  // the run's summary goes with the command

// The whole command line; false when it does not fit the room.
bool FormCommand(char* command, const char* copy, HANDLE parent, HANDLE list) {
    summary_in_command = false;
    wsprintfA(command, "\"%s\" %s%lu,%lu", copy, kCleanupWord, (unsigned long)(ULONG_PTR)parent,
              (unsigned long)(ULONG_PTR)list);
    const char* log_path = RunLogPath();
    if (RunLogIsOpen() && log_path[0] && strlen(command) + strlen(log_path) + 10 < kCommandRoom) {
        wsprintfA(command + strlen(command), " /log=\"%s\"", log_path);
        // The copy's lines come last in the log: so does the run's summary.
        char word[128];
        FormSummaryWord(word, sizeof word);
        summary_in_command = word[0] && strlen(command) + strlen(word) + 2 < kCommandRoom;
        if (summary_in_command) wsprintfA(command + strlen(command), " %s", word);
    }
    return strlen(command) < kCommandRoom - 1;
}

bool StartWithHandOver(const char* copy, HANDLE list, const char* folder) {
    HANDLE self = InheritableOwnProcess();  // the copy waits for it
    char* command = (char*)malloc(kCommandRoom);
    bool formed = self && command && FormCommand(command, copy, self, list);
    bool started = formed && StartProgramAndLeave("cleanup copy", command, folder);
    if (!formed) LogLine("cleanup copy: not started: its command line could not be formed");
    if (started && summary_in_command) LeaveSummaryToCopy();
    free(command);
    if (self) CloseProcessHandle(self);  // the copy holds its own
    return started;
}

// What a copy that did not start leaves: this run's own files and folder.
void RemovePlace(const char* folder, const char* copy, const char* list) {
    if (list[0]) DeleteFileA(list);
    if (copy[0]) DeleteFileA(copy);
    RemoveDirectoryA(folder);
}

// The place of the copy this run started, for a restart that may end it
// before it is done.
struct StartedPlace {
    bool started;
    char folder[PATH_BUFFER_SIZE], copy[PATH_BUFFER_SIZE], list[PATH_BUFFER_SIZE];
} started_place;

void RememberStartedPlace(const char* folder, const char* copy, const char* list) {
    started_place.started = true;
    lstrcpynA(started_place.folder, folder, PATH_BUFFER_SIZE);
    size_t length = strlen(started_place.folder);  // the folder's own name, without its last '\'
    if (length > 3 && started_place.folder[length - 1] == '\\') started_place.folder[length - 1] = 0;
    lstrcpynA(started_place.copy, copy, PATH_BUFFER_SIZE);
    lstrcpynA(started_place.list, list, PATH_BUFFER_SIZE);
}

void StartCopy() {
    started_place.started = false;
    CleanupPlace place;
    if (!MakeCleanupPlace(&place)) {
        LogLine("cleanup copy: no new folder of its own could be made in the temporary folder, error %u",
                (unsigned)GetLastError());
        return;
    }
    char copy[PATH_BUFFER_SIZE], list_path[PATH_BUFFER_SIZE] = "";
    HANDLE held = WriteProgramCopy(&place, copy);
    HANDLE list = held != INVALID_HANDLE_VALUE ? WriteHandOverList(&place, list_path) : INVALID_HANDLE_VALUE;
    FreeCleanupPlace(&place);
    bool started = list != INVALID_HANDLE_VALUE && StartWithHandOver(copy, list, place.folder);
    if (held == INVALID_HANDLE_VALUE || list == INVALID_HANDLE_VALUE)
        LogLine("cleanup copy: this program could not be copied whole to %s", place.folder);
    if (list != INVALID_HANDLE_VALUE) CloseHandle(list);  // the copy holds its own
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    if (started) RememberStartedPlace(place.folder, copy, list_path);
    else RemovePlace(place.folder, copy, list_path);
}

// --- The copy's run ---

DWORD NextDecimal(const char*& p) {
    while (*p == ' ') ++p;
    DWORD value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (DWORD)(*p - '0');
    return value;
}

// The next line of the list; a path too long for the record is passed over.
bool NextListed(const char*& p, OwnFile* file) {
    for (;;) {
        while (*p == '\r' || *p == '\n') ++p;
        if (!*p) return false;
        file->size = NextDecimal(p);
        file->written.dwHighDateTime = NextDecimal(p);
        file->written.dwLowDateTime = NextDecimal(p);
        if (*p == ' ') ++p;
        size_t length = 0;
        while (p[length] && p[length] != '\r' && p[length] != '\n') ++length;
        bool fits = length > 0 && length < sizeof file->path;
        if (fits) lstrcpynA(file->path, p, (int)length + 1);
        p += length;
        if (fits) return true;
    }
}

bool IsUnchanged(const OwnFile& file) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(file.path, &found);
    if (find == INVALID_HANDLE_VALUE) return true;  // gone: the deletion says so
    FindClose(find);
    return found.nFileSizeLow == file.size &&
           found.ftLastWriteTime.dwHighDateTime == file.written.dwHighDateTime &&
           found.ftLastWriteTime.dwLowDateTime == file.written.dwLowDateTime;
}

// Held when no one else may have it open at the same time.
bool IsHeld(const char* path) { return WriteOpenRefused(path, 0); }

// An ended program's file may stay mapped a moment after its process is
// signalled: a few seconds' patience before the deletion is tried.
void WaitUntilFree(const char* path) {
    for (int tries = 0; tries < 50 && IsHeld(path); ++tries) Sleep(100);
}

// The hand-over only ever names the program and its tools, programs all
// of one folder: anything else on a list is not deleted.
bool IsHandedProgram(const OwnFile& file, const char* first) {
    const char* slash = MbFindLastChar(file.path, '\\');
    const char* first_slash = MbFindLastChar(first, '\\');
    if (!slash || !first_slash || slash - file.path != first_slash - first) return false;
    if (strncmp(file.path, first, (size_t)(slash - file.path)) != 0) return false;
    size_t length = strlen(slash);
    return length > 4 && MbSameNoCase(slash + length - 4, ".exe");
}

void DeleteHandedFile(const OwnFile& file, DWORD family) {
    if (!IsUnchanged(file)) {
        KeepReplacedFile(file.path);
        return;
    }
    WaitUntilFree(file.path);
    ChangeResult deleted = DeleteFileNow(file.path);
    if (deleted.outcome == ChangeDone) NoteFileRemoved(file.path, false);
    if (deleted.outcome != ChangeFailed || !WaitsForTheRestart(deleted.error)) return;
    if (DeleteFileAtRestart(file.path, family).outcome == ChangeScheduled) NoteFileRemoved(file.path, true);
}

void DeleteListed(const char* text, DWORD family) {
    OwnFile file;
    char first[PATH_BUFFER_SIZE] = "";
    for (const char* p = text; NextListed(p, &file);) {
        if (!first[0]) MbCopy(first, sizeof first, file.path);
        if (IsHandedProgram(file, first)) DeleteHandedFile(file, family);
        else LogLine("cleanup copy: %s is not one of the uninstaller's programs: kept", file.path);
    }
}

// "PROCESS,LIST" after the word; 0 for what is missing.
void ReadHandles(const char* p, HANDLE* process, HANDLE* list) {
    *process = (HANDLE)(ULONG_PTR)NextDecimal(p);
    *list = *p == ',' ? (HANDLE)(ULONG_PTR)NextDecimal(++p) : nullptr;
}

void WaitForUninstaller(HANDLE process) {
    if (!process) return;
    WaitForProcess(process);
    CloseProcessHandle(process);
}

// The copy's own file and, beside it, the list's path; false when they
// cannot be had whole.
bool OwnPlace(char* self, char* list_path) {
    DWORD length = GetModuleFileNameA(nullptr, self, PATH_BUFFER_SIZE);
    const char* slash = length && length < PATH_BUFFER_SIZE ? MbFindLastChar(self, '\\') : nullptr;
    if (!slash || (size_t)(slash + 1 - self) + sizeof kHandOverListName > PATH_BUFFER_SIZE) return false;
    lstrcpynA(list_path, self, (int)(slash + 2 - self));
    lstrcpynA(list_path + (slash + 1 - self), kHandOverListName, sizeof kHandOverListName);
    return true;
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION one, other;
    return GetFileInformationByHandle(a, &one) && GetFileInformationByHandle(b, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

// The list a run left beside this copy, read through the handle the copy
// inherited: null unless that handle is that very file.
char* ReadHandOver(HANDLE list, const char* list_path) {
    if (!list) return nullptr;
    HANDLE beside = CreateFileA(list_path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (beside == INVALID_HANDLE_VALUE) return nullptr;
    bool same = SameFile(list, beside);
    CloseHandle(beside);
    char* text = same ? (char*)malloc(kListRoom + 1) : nullptr;
    DWORD read = 0;
    if (text && ReadFile(list, text, kListRoom, &read, nullptr)) {
        text[read] = 0;
        return text;
    }
    free(text);
    return nullptr;
}

// The copy, its list and its folder go; the copy itself only at the next
// start, which on the NT family also removes the emptied folder.
void RemoveOwnPlace(const char* self, const char* list_path, DWORD family) {
    if (DeleteFileNow(list_path).outcome != ChangeDone) DeleteFileAtRestart(list_path, family);
    DeleteFileAtRestart(self, family);
    if (!IsWindowsNT()) return;  // WININIT.INI deletes no folder
    char folder[PATH_BUFFER_SIZE];
    MbCopy(folder, sizeof folder, self);
    *(char*)MbFindLastChar(folder, '\\') = 0;
    DWORD error = ScheduleDeleteAtRestart(folder, family);
    LogLine("cleanup copy: its folder %s: %s", folder,
            error ? "could not be scheduled for deletion" : "scheduled for deletion at the next start of Windows");
}

// Libraries come from the system folder: none from the copy's folder or
// the current one (SetDllDirectoryA, where Windows has it).
void KeepLibrariesToSystem() {
    // The SDK declares it only for programs that need XP SP1.
    typedef BOOL(WINAPI * SetDllDirectoryFn)(LPCSTR);
    SetDllDirectoryFn set = LoadedFunction<SetDllDirectoryFn>("kernel32.dll", "SetDllDirectoryA");
    if (set) set("");
}

}  // namespace

void HandOverToCleanupCopy(const char*) {
    started_place.started = false;
    if (OwnFileCount() == 0) return;
    // A preview lists the files and starts no copy.
    bool handed = false;
    for (int i = 0; i < OwnFileCount(); ++i)
        handed |= HandFileToCleanupCopy(OwnFileAt(i).path).outcome == ChangeScheduled;
    if (handed) StartCopy();
}

// The copy's own files and folder go too; Windows 9x's restart removes no
// folder.
void ScheduleHandedFilesAtRestart() {
    DWORD family = GetWindowsFamily();
    for (int i = 0; i < OwnFileCount(); ++i) DeleteFileAtRestart(OwnFileAt(i).path, family);
    if (!started_place.started) return;
    DeleteFileAtRestart(started_place.list, family);
    DeleteFileAtRestart(started_place.copy, family);
    if (!IsWin9xFamily(family)) RemoveFolderAtRestart(started_place.folder);
    started_place.started = false;
}

bool IsCleanupCopyTail(const char* tail) {
    return strncmp(tail, kCleanupWord, sizeof kCleanupWord - 1) == 0;
}

int RunCleanupCopy(const char* tail) {
    KeepLibrariesToSystem();
    RunMode = Silent;
    BeginRunRecord(GetCommandLineA(), true);
    TakeSummaryFromRun(GetCommandLineA());
    HANDLE process, list;
    ReadHandles(tail + sizeof kCleanupWord - 1, &process, &list);
    WaitForUninstaller(process);
    DWORD family = GetWindowsFamily();
    char self[PATH_BUFFER_SIZE], list_path[PATH_BUFFER_SIZE];
    char* text = OwnPlace(self, list_path) ? ReadHandOver(list, list_path) : nullptr;
    if (list) CloseHandle(list);
    if (text) {
        DeleteListed(text, family);
        RemoveEmptiedFolders(family);
        FreezeRunSummary();
        RemoveOwnPlace(self, list_path, family);
    } else {
        LogLine("cleanup copy: no hand-over from a run of the uninstaller reached it: nothing is deleted");
    }
    free(text);
    EndRunRecord(0);
    return 0;
}
