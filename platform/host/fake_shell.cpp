// Shell folders by CSIDL, as SHGetSpecialFolderPathA reports them, or as
// item-id lists that the shell's allocator hands out and takes back.
#include "fake_world.h"

#include <map>
#include <set>
#include <string.h>

namespace {

std::map<int, std::string> folders;
std::map<LPCITEMIDLIST, int> id_lists;  // each live list and its folder

// One allocator for the process, counting the references handed out.
struct ShellAllocator : IMalloc {
    int references = 0;
    void Free(void* block) override {
        fake::LogCall("IMalloc::Free", "");
        auto it = id_lists.find((LPCITEMIDLIST)block);
        if (it == id_lists.end()) abort();  // a block the shell never gave
        id_lists.erase(it);
        delete[] (BYTE*)block;
    }
    ULONG Release() override { return (ULONG)--references; }
} shell_allocator;

fake::ResetHook shell_reset([] {
    for (auto& entry : id_lists) delete[] (BYTE*)entry.first;
    id_lists.clear();
    shell_allocator.references = 0;
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

namespace fake {
int LiveIdListCount() { return (int)id_lists.size(); }
int ShellAllocatorReferences() { return shell_allocator.references; }
}  // namespace fake

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* list) {
    std::string subject = std::to_string(csidl);
    fake::LogCall("SHGetSpecialFolderLocation", subject);
    *list = nullptr;
    if (fake::InjectedFailure("SHGetSpecialFolderLocation", subject) || !folders.count(csidl))
        return E_FAIL;
    *list = (LPITEMIDLIST) new BYTE[sizeof(ITEMIDLIST) + 2]();
    id_lists[*list] = csidl;
    return S_OK;
}

// The caller's buffer holds MAX_PATH characters, as for the folder call.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
    fake::LogCall("SHGetPathFromIDListA", "");
    auto it = id_lists.find(list);
    if (it == id_lists.end() || fake::InjectedFailure("SHGetPathFromIDListA", "")) return FALSE;
    auto found = folders.find(it->second);
    if (found == folders.end() || found->second.size() >= MAX_PATH) return FALSE;
    const std::string& folder = found->second;
    memcpy(path, folder.c_str(), folder.size() + 1);
    return TRUE;
}

HRESULT SHGetMalloc(LPMALLOC* allocator) {
    fake::LogCall("SHGetMalloc", "");
    *allocator = nullptr;
    if (fake::InjectedFailure("SHGetMalloc", "")) return E_FAIL;
    ++shell_allocator.references;
    *allocator = &shell_allocator;
    return S_OK;
}
