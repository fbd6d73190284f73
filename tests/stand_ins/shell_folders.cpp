// Stand-in for the shell's special folders by CSIDL: as the later shell's
// SHGetSpecialFolderPathA reports them (the entry point the libraries'
// stand-in offers), or as item-id lists that the shell's allocator hands
// out and takes back, counted so that a test sees one never freed.
// Logged under the names of the shell's calls, so that the one failure
// table fails them.
#include "removal/shell_id_lists.h"

#include <map>

#include "tests/stand_ins/stand_ins.h"

namespace {

std::map<int, std::string> folders;
std::map<LPCITEMIDLIST, int> id_lists;  // each live list and its folder

// One allocator for the process, counting the references handed out.
struct Allocator : IMalloc {
    int references = 0;
    void Free(void* block) override {
        fake::LogCall("IMalloc::Free", "");
        auto it = id_lists.find((LPCITEMIDLIST)block);
        if (it == id_lists.end()) abort();  // a block the shell never gave
        id_lists.erase(it);
        delete[] (BYTE*)block;
    }
    ULONG Release() override { return (ULONG)--references; }
} allocator;

fake::ResetHook shell_reset([] {
    for (auto& entry : id_lists) delete[] (BYTE*)entry.first;
    id_lists.clear();
    allocator.references = 0;
    folders.clear();
    folders[CSIDL_PROGRAMS] = "C:\\WINDOWS\\Start Menu\\Programs";
    folders[CSIDL_COMMON_PROGRAMS] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
});

// The caller's buffer holds MAX_PATH characters; a longer folder is refused.
bool CopyFolder(int csidl, char* path) {
    auto it = folders.find(csidl);
    if (it == folders.end() || it->second.size() >= MAX_PATH) return false;
    memcpy(path, it->second.c_str(), it->second.size() + 1);
    return true;
}

}  // namespace

BOOL SHGetSpecialFolderPathA(HWND, LPSTR path, int csidl, BOOL) {
    fake::LogCall("SHGetSpecialFolderPathA", std::to_string(csidl));
    if (DWORD error = fake::InjectedFailure("SHGetSpecialFolderPathA", std::to_string(csidl))) {
        SetLastError(error);
        return FALSE;
    }
    return CopyFolder(csidl, path);
}

HRESULT FolderIdList(int csidl, LPITEMIDLIST* list) {
    fake::LogCall("SHGetSpecialFolderLocation", std::to_string(csidl));
    *list = nullptr;
    if (fake::InjectedFailure("SHGetSpecialFolderLocation", std::to_string(csidl)) || !folders.count(csidl))
        return E_FAIL;
    *list = (LPITEMIDLIST) new BYTE[sizeof(ITEMIDLIST) + 2]();
    id_lists[*list] = csidl;
    return S_OK;
}

bool PathOfIdList(LPCITEMIDLIST list, char* folder) {
    fake::LogCall("SHGetPathFromIDListA", "");
    auto it = id_lists.find(list);
    return it != id_lists.end() && !fake::InjectedFailure("SHGetPathFromIDListA", "") &&
           CopyFolder(it->second, folder);
}

HRESULT ShellAllocator(LPMALLOC* handed) {
    fake::LogCall("SHGetMalloc", "");
    *handed = nullptr;
    if (fake::InjectedFailure("SHGetMalloc", "")) return E_FAIL;
    ++allocator.references;
    *handed = &allocator;
    return S_OK;
}

namespace stand_in {

void SetSpecialFolder(int csidl, const std::string& path) { folders[csidl] = path; }
void ClearSpecialFolder(int csidl) { folders.erase(csidl); }
int LiveIdListCount() { return (int)id_lists.size(); }
int ShellAllocatorReferences() { return allocator.references; }

}  // namespace stand_in
