// Shell folders by CSIDL, as SHGetSpecialFolderPathA reports them.
#include "fake_world.h"

#include <map>
#include <string.h>

namespace {

std::map<int, std::string> folders;

fake::ResetHook shell_reset([] {
    folders.clear();
    folders[CSIDL_PROGRAMS] = "C:\\WINDOWS\\Start Menu\\Programs";
    folders[CSIDL_COMMON_PROGRAMS] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
});

}  // namespace

namespace fake {
void SetSpecialFolder(int csidl, const std::string& path) { folders[csidl] = path; }
void ClearSpecialFolder(int csidl) { folders.erase(csidl); }
}  // namespace fake

// The caller's buffer holds MAX_PATH characters; a longer folder is refused.
BOOL SHGetSpecialFolderPathA(HWND, LPSTR path, int csidl, BOOL) {
    std::string subject = std::to_string(csidl);
    fake::LogCall("SHGetSpecialFolderPathA", subject);
    if (DWORD error = fake::InjectedFailure("SHGetSpecialFolderPathA", subject)) {
        SetLastError(error);
        return FALSE;
    }
    auto it = folders.find(csidl);
    if (it == folders.end() || it->second.size() >= MAX_PATH) return FALSE;
    memcpy(path, it->second.c_str(), it->second.size() + 1);
    return TRUE;
}
