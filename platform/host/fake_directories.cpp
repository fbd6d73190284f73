// The Windows directory, the system directory and, for a multi-user system,
// the Windows directory shared by all users.
#include "fake_world.h"

#include <ctype.h>
#include <string.h>

#include <map>

namespace {

std::string windows_dir;
std::string system_dir;
std::string shared_windows_dir;
std::string temp_dir;
std::map<std::string, std::string> environment;  // by upper-case name

fake::ResetHook directories_reset([] {
    windows_dir = "C:\\WINDOWS";
    system_dir = "C:\\WINDOWS\\system32";
    shared_windows_dir = "C:\\WINDOWS";
    temp_dir = "C:\\WINDOWS\\TEMP\\";
    environment.clear();
    environment["SYSTEMDRIVE"] = "C:";
});

std::string Upper(std::string text) {
    for (auto& c : text) c = (char)toupper((unsigned char)c);
    return text;
}

// Windows 9x defines windir but no SystemRoot.
bool IsWindowsFolderVariable(const std::string& name) {
    if (name == "WINDIR") return true;
    return name == "SYSTEMROOT" && fake::CurrentWindowsVersion().platform == VER_PLATFORM_WIN32_NT;
}

// SystemRoot follows the Windows directory a test set.
std::string Expanded(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        size_t end = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
        if (end == std::string::npos) {
            out += text[i++];
            continue;
        }
        std::string name = Upper(text.substr(i + 1, end - i - 1));
        auto it = environment.find(name);
        if (IsWindowsFolderVariable(name)) out += windows_dir;
        else out += it == environment.end() ? text.substr(i, end - i + 1) : it->second;
        i = end + 1;
    }
    return out;
}

// The Win32 protocol: the length copied, or the size needed (terminator
// included) when the buffer is too small; 0 on failure.
UINT CopyDirectory(const char* api, const std::string& path, LPSTR buffer, UINT size) {
    fake::LogCall(api, path);
    if (DWORD error = fake::InjectedFailure(api, path)) {
        SetLastError(error);
        return 0;
    }
    if (path.size() + 1 > size) return (UINT)path.size() + 1;
    memcpy(buffer, path.c_str(), path.size() + 1);
    return (UINT)path.size();
}

}  // namespace

namespace fake {
void SetWindowsDirectory(const std::string& path) { windows_dir = path; }
void SetSystemDirectory(const std::string& path) { system_dir = path; }
void SetSharedWindowsDirectory(const std::string& path) { shared_windows_dir = path; }
void SetTempDirectory(const std::string& path) { temp_dir = path; }
void SetEnvironmentValue(const std::string& name, const std::string& value) {
    environment[Upper(name)] = value;
}
}  // namespace fake

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    return CopyDirectory("GetWindowsDirectoryA", windows_dir, buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
    return CopyDirectory("GetSystemDirectoryA", system_dir, buffer, size);
}

UINT GetSystemWindowsDirectoryA(LPSTR buffer, UINT size) {
    return CopyDirectory("GetSystemWindowsDirectoryA", shared_windows_dir, buffer, size);
}

// The same protocol as the directories, its arguments the other way round.
DWORD GetTempPathA(DWORD size, LPSTR buffer) {
    return CopyDirectory("GetTempPathA", temp_dir, buffer, size);
}

namespace fake {
std::string WindowsDirectory() { return windows_dir; }
std::string SystemDirectory() { return system_dir; }
}  // namespace fake

DWORD ExpandEnvironmentStringsA(LPCSTR source, LPSTR destination, DWORD size) {
    fake::LogCall("ExpandEnvironmentStringsA", source ? source : "");
    std::string expanded = Expanded(source ? source : "");
    if (expanded.size() + 1 <= size) memcpy(destination, expanded.c_str(), expanded.size() + 1);
    return (DWORD)expanded.size() + 1;
}
