// Windows' own programs. Wine's programs carry no version resource of
// Microsoft's, but each carries Wine's mark where a DOS program's stub
// would be: Wine stands in for Windows there, so its programs are Windows'.
#include "removal/windows_programs.h"

#include "platform/mbtext.h"
#include "removal/protected_files.h"

namespace {

const char kInterpreterReason[] = "a command interpreter or script host: it does whatever it is given";
const char kWineReason[] = "a program Wine keeps in Windows' place";

const char* const kInterpreters[] = {
    "cmd.exe",     "command.com", "powershell.exe", "pwsh.exe",    "wscript.exe",
    "cscript.exe", "mshta.exe",   "rundll32.exe",   "rundll.exe",  "regedit.exe",
    "reg.exe",     "regsvr32.exe", "msiexec.exe",   "sc.exe",      "net.exe",
};

// Wine's builtin and placeholder files, marked at offset 0x40.
const char* const kWineMarks[] = {"Wine builtin DLL", "Wine placeholder DLL"};
const DWORD kMarkOffset = 0x40;

const char* FileName(const char* path) {
    const char* slash = MbFindLastChar(path, '\\');
    return slash ? slash + 1 : path;
}

bool IsInterpreter(const char* path) {
    for (const char* name : kInterpreters)
        if (MbSameNoCase(FileName(path), name)) return true;
    return false;
}

bool CarriesWineMark(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    char mark[24] = {0};
    DWORD read = 0;
    bool ok = SetFilePointer(file, (LONG)kMarkOffset, nullptr, FILE_BEGIN) == kMarkOffset &&
              ReadFile(file, mark, sizeof mark - 1, &read, nullptr);
    CloseHandle(file);
    if (!ok) return false;
    for (const char* wine : kWineMarks)
        if (read >= strlen(wine) && memcmp(mark, wine, strlen(wine)) == 0) return true;
    return false;
}

}  // namespace

const char* WindowsProgramRefusal(const char* path) {
    if (!path || !*path) return nullptr;
    if (IsInterpreter(path)) return kInterpreterReason;
    if (const char* reason = WindowsFileRefusal(path)) return reason;
    return CarriesWineMark(path) ? kWineReason : nullptr;
}
