// Taking paths apart at their separators.
#include "removal/path_parts.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"

const char* LastSeparator(const char* path) {
    const char* back = MbFindLastChar(path, '\\');
    const char* forward = MbFindLastChar(path, '/');
    return forward && (!back || forward > back) ? forward : back;
}

const char* FileNamePart(const char* path) {
    const char* slash = MbFindLastChar(path, '\\');
    return slash ? slash + 1 : path;
}

bool FolderPart(const char* path, char* folder) {
    const char* slash = MbFindLastChar(path, '\\');
    if (!slash || (size_t)(slash - path) >= PATH_BUFFER_SIZE) return false;
    memcpy(folder, path, (size_t)(slash - path));
    folder[slash - path] = 0;
    return true;
}

bool NamesExistingFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool JoinedPath(char* out, const char* folder, const char* name) {
    size_t length = strlen(folder);
    if (!folder[0] || !name[0] || length + 1 + strlen(name) >= PATH_BUFFER_SIZE) return false;
    memcpy(out, folder, length);
    out[length] = '\\';
    return MbCopy(out + length + 1, PATH_BUFFER_SIZE - length - 1, name);
}
