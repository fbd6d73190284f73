// The run log: a plain text file written with the system's own file calls,
// one line per event, each written at once so that a run that ends in a
// restart leaves its record behind.
#include "system/run_log.h"

#include <stdarg.h>

#include "platform/mbtext.h"
#include "resources/resource_ids.h"
#include "system/administrator.h"
#include "system/run_state.h"
#include "system/run_summary.h"
#include "system/windows_family.h"

namespace {

HANDLE log_file;  // null while none is open: an open file's handle is never null
char log_path[MAX_PATH];  // as "/log=" gave it; the device tools append to it too
char refusal[64];         // why the last open failed

// The time stamp and the process id take at most 33 characters, a
// preview's mark 9, the text at most 1023, then CR LF.
const int kStampLength = 34;
const int kMarkRoom = 16;
const int kTextRoom = 1024;

const char kLink[] = "it is a link";
const char kOtherNames[] = "the file has other names (hard links)";
const char kNotALog[] = "the file is not a log this program wrote";
const char kUnknown[] = "what the file is could not be told";

// On the NT family a link is opened as itself, so that it can be refused;
// Windows 9x has no links.
HANDLE OpenLogFile(const char* path, bool create_new) {
    DWORD flags = FILE_ATTRIBUTE_NORMAL | (IsWindowsNT() ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       create_new ? CREATE_NEW : OPEN_ALWAYS, flags, nullptr);
}

// What the handle tells of the file: a link, or a file with other names.
const char* HandleRefusal(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return IsWindowsNT() ? kUnknown : nullptr;
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return kLink;
    return information.nNumberOfLinks > 1 ? kOtherNames : nullptr;
}

// What the file begins with: nothing, a time stamp as WriteLineV writes
// one, or anything else.
enum LogHead { EmptyFile, OwnLog, OtherFile };

// Only the date and time are compared: the logs of earlier versions,
// whose lines carry no process id, are this program's too.
LogHead ReadHead(HANDLE file) {
    static const char kShape[] = "0000-00-00 00:00:00 ";
    const DWORD kShapeLength = sizeof kShape - 1;
    char head[sizeof kShape - 1];
    DWORD read = 0;
    if (!ReadFile(file, head, kShapeLength, &read, nullptr)) return OtherFile;
    if (read == 0) return EmptyFile;
    if (read < kShapeLength) return OtherFile;
    for (DWORD i = 0; i < kShapeLength; ++i) {
        bool digit = kShape[i] == '0';
        if (digit ? head[i] < '0' || head[i] > '9' : head[i] != kShape[i]) return OtherFile;
    }
    return OwnLog;
}

// The open file's refusal, or null when the log may be written to it. A
// file that was there and is not a log this program wrote is judged by
// `judge` too.
const char* OpenedFileRefusal(HANDLE file, const char* path, bool existed, LogPlaceJudge judge) {
    const char* why = HandleRefusal(file);
    LogHead head = why ? OtherFile : ReadHead(file);
    if (!why && existed && head != OwnLog && judge) why = judge(path);
    if (!why && head == OtherFile) why = kNotALog;
    if (!why && SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) why = kUnknown;
    return why;
}

// A deployment tool names a log folder of its own, which a new machine may
// not have yet: the missing folders are made, from the top down (one
// already there fails harmlessly). True when the log's folder is there.
bool CreateFoldersOf(const char* path) {
    char folder[MAX_PATH];
    if (lstrlenA(path) >= (int)sizeof folder) return false;
    lstrcpynA(folder, path, sizeof folder);
    char* last = (char*)MbFindLastChar(folder, '\\');
    if (!last) return false;
    *last = 0;
    for (char* p = folder; *p; p = (char*)MbNext(p)) {
        if (*p != '\\' || p == folder || p[-1] == ':') continue;  // a drive's root is there
        *p = 0;
        CreateDirectoryA(folder, nullptr);
        *p = '\\';
    }
    return CreateDirectoryA(folder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// At the end each time: a device tool may have appended its own lines.
void WriteText(const char* text, DWORD length) {
    DWORD written = 0;
    SetFilePointer(log_file, 0, nullptr, FILE_END);
    WriteFile(log_file, text, length, &written, nullptr);
}

int EscapeOf(unsigned char c, char* piece) {
    switch (c) {
    case '\n': return lstrlenA(lstrcpynA(piece, "\\n", 3));
    case '\r': return lstrlenA(lstrcpynA(piece, "\\r", 3));
    case '\t': return lstrlenA(lstrcpynA(piece, "\\t", 3));
    default: return wsprintfA(piece, "\\x%02X", (unsigned)c);
    }
}

// The text with its control characters escaped, up to `room` characters:
// what would not fit whole (an escape, a double-byte character) is left out.
int AppendEscaped(char* out, int room, const char* text) {
    int used = 0;
    for (const char* p = text; *p; ++p) {
        unsigned char c = (unsigned char)*p;
        char piece[8] = {*p, 0};
        int size = 1;
        if (c < 0x20 || c == 0x7F) size = EscapeOf(c, piece);
        else if (IsDBCSLeadByte(c) && p[1]) piece[size++] = *++p;
        if (used + size > room) break;
        memcpy(out + used, piece, (size_t)size);
        used += size;
    }
    return used;
}

// `mark` is a short constant: "" or the preview's.
void WriteLineV(const char* mark, const char* format, va_list args) {
    if (!log_file) return;
    char text[kTextRoom];
    wvsprintfA(text, format, args);
    char line[kStampLength + kMarkRoom + kTextRoom + 2];
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The process id tells two runs (or a run and its cleanup copy) apart.
    wsprintfA(line, "%04u-%02u-%02u %02u:%02u:%02u [%lu] ", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond, (unsigned long)GetCurrentProcessId());
    lstrcpynA(line + lstrlenA(line), mark, kMarkRoom);
    int length = lstrlenA(line);
    length += AppendEscaped(line + length, kTextRoom - 1, text);
    line[length++] = '\r';
    line[length++] = '\n';
    WriteText(line, (DWORD)length);
}

const char* FamilyName(DWORD family) {
    switch (family) {
    case FamilyWin95: return "Windows 95";
    case FamilyWin98: return "Windows 98";
    case FamilyWinMe: return "Windows Me";
    case FamilyNT4: return "Windows NT 4";
    case FamilyWin2000: return "Windows 2000 or later";
    default: return "unknown";
    }
}

// Only the NT family has rights to speak of.
const char* RightsText(DWORD family) {
    if (family != FamilyWin2000 && family != FamilyNT4) return "not checked on this family";
    return IsAdministrator() ? "administrator" : "not an administrator";
}

// The mark of a preview's lines: the gateway and the program starter decide
// what a preview does; the log only says it.
const char* PreviewMark() { return PreviewRun ? "preview: " : ""; }

const char* AnswerText(int answer) {
    switch (answer) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case 0: return "no box could be shown";
    default: return "another button";
    }
}

}  // namespace

bool OpenRunLog(const char* path, bool create_new, LogPlaceJudge judge) {
    CloseRunLog();
    refusal[0] = 0;
    HANDLE file = path && path[0] ? OpenLogFile(path, create_new) : INVALID_HANDLE_VALUE;
    // Only "/log=" makes its folders: the preview's goes where the
    // temporary folder is, or nowhere.
    bool missing = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND;
    if (missing && !create_new && CreateFoldersOf(path))
        file = OpenLogFile(path, create_new);
    if (file == INVALID_HANDLE_VALUE) {
        wsprintfA(refusal, "it could not be opened (error %u)", (unsigned)GetLastError());
        return false;
    }
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (const char* why = OpenedFileRefusal(file, path, existed, judge)) {
        CloseHandle(file);
        lstrcpynA(refusal, why, sizeof refusal);
        return false;
    }
    log_file = file;
    // A cut path would name another file: the tools then log nothing.
    if (lstrlenA(path) < (int)sizeof log_path) lstrcpynA(log_path, path, sizeof log_path);
    return true;
}

const char* RunLogRefusal() { return refusal; }

void CloseRunLog() {
    if (!log_file) return;
    CloseHandle(log_file);
    log_file = nullptr;
    log_path[0] = 0;
}

const char* RunLogPath() { return log_path; }

bool RunLogIsOpen() { return log_file != nullptr; }

void LogLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLineV("", format, args);
    va_end(args);
}

void LogEvent(const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLineV(PreviewMark(), format, args);
    va_end(args);
}

void LogRunStart(const char* command_line) {
    if (!RunLogIsOpen()) return;
    OSVERSIONINFOA version;
    ReadWindowsVersion(&version);  // zeroed when unknown
    DWORD family = GetWindowsFamily();
    LogLine("start: uninst %s%s, command line: %s", PROGRAM_VERSION_TEXT,
            PreviewRun ? " (preview: nothing is changed)" : "", command_line);
    LogLine("start: Windows %u.%u build %u platform %u (%s), user language 0x%04X, rights: %s",
            (unsigned)version.dwMajorVersion, (unsigned)version.dwMinorVersion,
            (unsigned)(version.dwBuildNumber & 0xFFFF), (unsigned)version.dwPlatformId,
            FamilyName(family), (unsigned)GetUserDefaultLangID(), RightsText(family));
}

void LogExit(int exit_code) { LogLine("exit: code %d", exit_code); }

void LogStepBegin(const char* step) { LogLine("step %s: begins", step); }

void LogStepEnd(const char* step, int result) { LogLine("step %s: ends with result %d", step, result); }

// Every reported failure passes here: it is counted, log or no log.
void LogFailure(const char* tag, int32_t code, const char* diagnostic) {
    CountInRunSummary(CountFailed);
    LogLine("failure: %s%d: %s", tag, (int)code, diagnostic);
}

void LogChange(const char* action, const char* subject, const char* outcome, DWORD error) {
    if (error) LogEvent("%s %s: %s, error %u", action, subject, outcome, (unsigned)error);
    else LogEvent("%s %s: %s", action, subject, outcome);
}

void LogProgram(const char* what, const char* command, bool ran, DWORD exit_code, DWORD error) {
    if (ran) LogLine("%s %s: ended with exit code %u", what, command, (unsigned)exit_code);
    else LogLine("%s %s: failed, error %u", what, command, (unsigned)error);
}

void LogProgramPreviewed(const char* what, const char* command) {
    LogEvent("%s %s: would be started and waited for", what, command);
}

void LogRefusedProgram(const char* what, const char* command, const char* reason) {
    LogEvent("%s %s: refused by a guardrail: %s", what, command, reason);
}

void LogRestartQuestion(int answer) {
    LogLine("restart: asked, answer %s", AnswerText(answer));
}

void LogRestartPreviewed() { LogEvent("restart: the user would be asked to restart Windows"); }
