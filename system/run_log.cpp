// The run log: a plain text file written with the system's own file calls,
// one line per event, each written at once so that a run that ends in a
// restart leaves its record behind.
#include "system/run_log.h"

#include <stdarg.h>

#include "resources/resource_ids.h"
#include "system/administrator.h"
#include "system/run_state.h"
#include "system/run_summary.h"
#include "system/windows_family.h"

namespace {

HANDLE log_file = INVALID_HANDLE_VALUE;
char log_path[MAX_PATH];  // as "/log=" gave it; the device tools append to it too

// The time stamp and the process id take at most 33 characters, a
// preview's mark 9, the text at most 1023, then CR LF.
const int kStampLength = 34;
const int kMarkRoom = 16;
const int kTextRoom = 1024;

// At the end each time: a device tool may have appended its own lines.
void WriteText(const char* text, DWORD length) {
    DWORD written = 0;
    SetFilePointer(log_file, 0, nullptr, FILE_END);
    WriteFile(log_file, text, length, &written, nullptr);
}

// `mark` is a short constant: "" or the preview's.
void WriteLineV(const char* mark, const char* format, va_list args) {
    if (log_file == INVALID_HANDLE_VALUE) return;
    char line[kStampLength + kMarkRoom + kTextRoom + 2];
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The process id tells two runs (or a run and its cleanup copy) apart.
    wsprintfA(line, "%04u-%02u-%02u %02u:%02u:%02u [%lu] ", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond, (unsigned long)GetCurrentProcessId());
    lstrcpynA(line + lstrlenA(line), mark, kMarkRoom);
    int length = lstrlenA(line);
    length += wvsprintfA(line + length, format, args);
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

bool OpenRunLog(const char* path, bool replace) {
    CloseRunLog();
    if (!path || !path[0]) return false;
    log_file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           replace ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log_file == INVALID_HANDLE_VALUE) return false;
    if (SetFilePointer(log_file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER) {
        CloseRunLog();
        return false;
    }
    // A cut path would name another file: the tools then log nothing.
    if (lstrlenA(path) < (int)sizeof log_path) lstrcpynA(log_path, path, sizeof log_path);
    return true;
}

void CloseRunLog() {
    if (log_file == INVALID_HANDLE_VALUE) return;
    CloseHandle(log_file);
    log_file = INVALID_HANDLE_VALUE;
    log_path[0] = 0;
}

const char* RunLogPath() { return log_path; }

bool RunLogIsOpen() { return log_file != INVALID_HANDLE_VALUE; }

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
