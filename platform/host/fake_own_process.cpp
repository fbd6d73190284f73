// The fake process environment: command line, module path, last error,
// the user's language and the ANSI code page's lead bytes.
#include "fake_world.h"

#include <string.h>

namespace {

const char kDefaultModule[] = "C:\\Program Files\\XLN\\UNINST.EXE";

std::string command_line;
std::string module_path;
DWORD last_error;
UINT ansi_code_page;
LANGID user_language;

fake::ResetHook process_reset([] {
    module_path = kDefaultModule;
    command_line = std::string("\"") + kDefaultModule + "\"";
    last_error = 0;
    ansi_code_page = 1252;
    user_language = 0x0409;
});

}  // namespace

namespace fake {
void SetCommandLine(const std::string& line) { command_line = line; }
void SetModulePath(const std::string& path) { module_path = path; }
void SetAnsiCodePage(UINT code_page) { ansi_code_page = code_page; }
void SetUserLanguage(LANGID language) { user_language = language; }
}  // namespace fake

LPSTR GetCommandLineA(void) { return &command_line[0]; }

// Copies as Windows XP does: a path that does not fit is cut to size - 1
// characters and the result is the size, with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameA(HMODULE, LPSTR file_name, DWORD size) {
    fake::LogCall("GetModuleFileNameA", module_path);
    if (DWORD error = fake::InjectedFailure("GetModuleFileNameA", module_path)) {
        last_error = error;
        return 0;
    }
    if (size == 0) return 0;
    DWORD length = (DWORD)module_path.size();
    if (length < size) {
        memcpy(file_name, module_path.c_str(), length + 1);
        return length;
    }
    memcpy(file_name, module_path.c_str(), size - 1);
    file_name[size - 1] = 0;
    last_error = ERROR_INSUFFICIENT_BUFFER;
    return size;
}

DWORD GetLastError(void) { return last_error; }
void SetLastError(DWORD error) { last_error = error; }
UINT GetACP(void) { return ansi_code_page; }

LANGID GetUserDefaultLangID(void) {
    fake::LogCall("GetUserDefaultLangID", "");
    return user_language;
}

// Lead-byte ranges of the double-byte code pages Windows ships.
BOOL IsDBCSLeadByte(BYTE c) {
    switch (ansi_code_page) {
    case 932: return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950: return c >= 0x81 && c <= 0xFE;
    default: return FALSE;
    }
}

DWORD GetCurrentProcessId(void) { return 1234; }
HANDLE GetCurrentProcess(void) { return (HANDLE)(intptr_t)-1; }
