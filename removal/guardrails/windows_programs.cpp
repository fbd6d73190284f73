// Windows' own programs. Wine's programs carry no version resource of
// Microsoft's, but each carries Wine's mark where a DOS program's stub
// would be: Wine stands in for Windows there, so its programs are Windows'.
#include "removal/guardrails/windows_programs.h"

#include "platform/mbtext.h"
#include "removal/path_parts.h"
#include "removal/guardrails/protected_files.h"
#include "removal/guardrails/system_file_checks.h"

namespace {

const char kInterpreterReason[] = "a command interpreter or script host: it does whatever it is given";
const char kWineReason[] = "a program Wine keeps in Windows' place";

const char* const kInterpreters[] = {
    "cmd.exe",     "command.com", "powershell.exe", "pwsh.exe",    "wscript.exe",
    "cscript.exe", "mshta.exe",   "rundll32.exe",   "rundll.exe",  "regedit.exe",
    "reg.exe",     "regsvr32.exe", "msiexec.exe",   "sc.exe",      "net.exe",
};

bool IsInterpreter(const char* path) {
    for (const char* name : kInterpreters)
        if (MbSameNoCase(FileNamePart(path), name)) return true;
    return false;
}

}  // namespace

const char* WindowsProgramRefusal(const char* path) {
    if (!path || !*path) return nullptr;
    if (IsInterpreter(path)) return kInterpreterReason;
    if (const char* reason = WindowsFileRefusal(path)) return reason;
    return CarriesWineMark(path) ? kWineReason : nullptr;
}
