// The hand-over to a copy of this program, and the copy's own run. The
// copy learns what to delete from its command line:
//   "COPY" /cleanup-after=HANDLE [/log="PATH"] "FILE" SIZE HIGH LOW ...
// HANDLE is this process's, inherited, so the copy waits for exactly it;
// SIZE and the time of last writing (HIGH, LOW) tell the file the run found.
#include "app/cleanup_copy.h"

#include "app/command_options.h"
#include "app/command_words.h"
#include "app/run_record.h"
#include "platform/mbtext.h"
#include "removal/emptied_folders.h"
#include "removal/own_files.h"
#include "removal/started_programs.h"
#include "removal/system_changes.h"
#include "system/run_log.h"
#include "system/run_state.h"
#include "system/windows_family.h"

namespace {

const char kCleanupWord[] = "/cleanup-after=";
// Windows 95 takes command lines of about a kilobyte: room for the program
// and its three tools in a deep folder.
const size_t kCommandRoom = 1024;

// --- The hand-over ---

// "xlnclean0.exe" to "xlnclean9.exe" in the temporary folder: a copy left
// by an earlier run (it goes at the next start) is taken over, unless it
// still runs.
bool CopyProgramToTemp(char* copy, char* folder) {
    char program[PATH_BUFFER_SIZE];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    DWORD temp = GetTempPathA(PATH_BUFFER_SIZE - 16, folder);
    if (!length || length >= sizeof program || !temp || temp >= PATH_BUFFER_SIZE - 16) return false;
    for (int i = 0; i < 10; ++i) {
        wsprintfA(copy, "%sxlnclean%d.exe", folder, i);
        if (CopyFileA(program, copy, FALSE)) return true;
    }
    return false;
}

void AppendText(char* command, const char* text) {
    size_t used = strlen(command);
    MbCopy(command + used, kCommandRoom - used, text);
}

// The whole command line; false when it does not fit the room.
bool FormCommand(char* command, const char* copy, HANDLE parent, const char* log_path) {
    char piece[PATH_BUFFER_SIZE + 48];
    wsprintfA(command, "\"%s\" %s%lu", copy, kCleanupWord, (unsigned long)(ULONG_PTR)parent);
    if (log_path[0] && strlen(log_path) < PATH_BUFFER_SIZE) {
        wsprintfA(piece, " /log=\"%s\"", log_path);
        AppendText(command, piece);
    }
    for (int i = 0; i < OwnFileCount(); ++i) {
        const OwnFile& file = OwnFileAt(i);
        wsprintfA(piece, " \"%s\" %lu %lu %lu", file.path, (unsigned long)file.size,
                  (unsigned long)file.written.dwHighDateTime, (unsigned long)file.written.dwLowDateTime);
        AppendText(command, piece);
    }
    return strlen(command) < kCommandRoom - 1;
}

// This process as the copy can wait for it: a real handle, inherited.
HANDLE InheritableSelf() {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE, TRUE, 0))
        return nullptr;
    return self;
}

void StartCopy(const char* command_line) {
    char copy[PATH_BUFFER_SIZE], folder[PATH_BUFFER_SIZE], log_path[PATH_BUFFER_SIZE];
    if (!LogPathOption(command_line, log_path, sizeof log_path)) log_path[0] = 0;
    if (!CopyProgramToTemp(copy, folder)) {
        LogLine("cleanup copy: this program could not be copied to the temporary folder, error %u",
                (unsigned)GetLastError());
        return;
    }
    HANDLE self = InheritableSelf();
    char* command = (char*)malloc(kCommandRoom);
    if (self && command && FormCommand(command, copy, self, log_path))
        StartProgramAndLeave("cleanup copy", command, folder);
    else
        LogLine("cleanup copy: not started: its command line could not be formed");
    free(command);
    if (self) CloseHandle(self);  // the copy holds its own
}

// --- The copy's run ---

// The next word, or the text between double quotes; false at the end or
// when it does not fit.
bool NextWord(const char*& p, char* out, size_t size) {
    while (IsCommandBlank(*p)) ++p;
    return *p && CopyQuotableWord(p, " \t", out, size);
}

DWORD Decimal(const char* text) {
    DWORD value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + (DWORD)(*text - '0');
    return value;
}

bool NextNumber(const char*& p, DWORD* value) {
    char word[16];
    if (!NextWord(p, word, sizeof word)) return false;
    *value = Decimal(word);
    return true;
}

// The next file and what the run found of it, past any option words.
bool NextFile(const char*& p, OwnFile* file) {
    do {
        if (!NextWord(p, file->path, sizeof file->path)) return false;
    } while (file->path[0] == '/');
    return NextNumber(p, &file->size) && NextNumber(p, &file->written.dwHighDateTime) &&
           NextNumber(p, &file->written.dwLowDateTime);
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

bool IsHeld(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// An ended program's file may stay mapped a moment after its process is
// signalled: a few seconds' patience before the deletion is tried.
void WaitUntilFree(const char* path) {
    for (int tries = 0; tries < 50 && IsHeld(path); ++tries) Sleep(100);
}

// The hand-over only ever names the program and its tools, programs all
// of one folder: anything else on a command line that claims to be one is
// not deleted.
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
    if (deleted.outcome != ChangeFailed || deleted.error != ERROR_ACCESS_DENIED) return;
    if (DeleteFileAtRestart(file.path, family).outcome == ChangeScheduled) NoteFileRemoved(file.path, true);
}

void WaitForUninstaller(const char*& p) {
    DWORD handle = Decimal(p);
    while (*p && !IsCommandBlank(*p)) ++p;
    if (!handle) return;
    WaitForSingleObject((HANDLE)(ULONG_PTR)handle, INFINITE);
    CloseHandle((HANDLE)(ULONG_PTR)handle);
}

// The copy cannot delete itself while it runs: the next start does.
void DeleteSelfAtRestart(DWORD family) {
    char self[PATH_BUFFER_SIZE];
    DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length && length < sizeof self) DeleteFileAtRestart(self, family);
}

}  // namespace

void HandOverToCleanupCopy(const char* command_line) {
    if (OwnFileCount() == 0) return;
    // A preview lists the files and starts no copy.
    bool handed = false;
    for (int i = 0; i < OwnFileCount(); ++i)
        handed |= HandFileToCleanupCopy(OwnFileAt(i).path).outcome == ChangeScheduled;
    if (handed) StartCopy(command_line);
}

void ScheduleHandedFilesAtRestart() {
    DWORD family = GetWindowsFamily();
    for (int i = 0; i < OwnFileCount(); ++i) DeleteFileAtRestart(OwnFileAt(i).path, family);
}

bool IsCleanupCopyTail(const char* tail) {
    return strncmp(tail, kCleanupWord, sizeof kCleanupWord - 1) == 0;
}

int RunCleanupCopy(const char* tail) {
    RunMode = Silent;
    BeginRunRecord(GetCommandLineA(), true);
    const char* p = tail + sizeof kCleanupWord - 1;
    WaitForUninstaller(p);
    DWORD family = GetWindowsFamily();
    OwnFile file;
    char first[PATH_BUFFER_SIZE] = "";
    while (NextFile(p, &file)) {
        if (!first[0]) MbCopy(first, sizeof first, file.path);
        if (IsHandedProgram(file, first)) DeleteHandedFile(file, family);
        else LogLine("cleanup copy: %s is not one of the uninstaller's programs: kept", file.path);
    }
    RemoveEmptiedFolders(family);
    DeleteSelfAtRestart(family);
    EndRunRecord(0);
    return 0;
}
