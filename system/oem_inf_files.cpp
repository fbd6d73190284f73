// Walking the INF folder's "oem*.inf" files.
#include "system/oem_inf_files.h"

#include "platform/mbtext.h"
#include "system/windows_directory.h"

namespace {

const char kInfPattern[] = "\\INF\\OEM*.INF";
const size_t kFolderPart = 5;  // "\INF\" of the pattern

// A '.' is never the second byte of a double-byte character.
bool IsInfFile(const WIN32_FIND_DATAA& found) {
    size_t length = strlen(found.cFileName);
    return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && length > 4 &&
           MbSameNoCase(found.cFileName + length - 4, ".inf");
}

}  // namespace

void VisitOemInfs(bool (*visit)(const char* path, const char* name, void* context), void* context) {
    char path[MAX_PATH];
    UINT length = GetSystemWindowsDir(path, sizeof path);
    if (length == 0 || length + sizeof kInfPattern > sizeof path) return;
    memcpy(path + length, kInfPattern, sizeof kInfPattern);
    size_t folder = length + kFolderPart;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const char* name = found.cFileName;
        if (!IsInfFile(found) || folder + strlen(name) >= sizeof path) continue;
        memcpy(path + folder, name, strlen(name) + 1);
        if (!visit(path, name, context)) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
