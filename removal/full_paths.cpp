// The full form of a path: what Windows resolves it to, as Windows' own
// GetFullPathNameA writes it.
#include "removal/full_paths.h"

#include "platform/mbtext.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char* LastCharOf(char* text) {
    char* last = nullptr;
    for (char* p = text; *p; p = (char*)MbNext(p)) last = p;
    return last;
}

}  // namespace

bool IsGivenInFull(const char* path) {
    if (!path || !path[0]) return false;
    if (IsSeparator(path[0])) return IsSeparator(path[1]);
    return IsLetter(path[0]) && path[1] == ':' && IsSeparator(path[2]);
}

bool FullPathForm(const char* path, char* out, size_t size) {
    if (size < 3 || !IsGivenInFull(path)) return false;
    out[0] = 0;
    DWORD length = GetFullPathNameA(path, (DWORD)size, out, nullptr);
    if (length == 0 || length >= size) {
        out[0] = 0;
        return false;
    }
    char* last = LastCharOf(out);
    if (last && *last == '\\') *last = 0;
    return out[0] != 0;
}

bool IsSameOrBelow(const char* path, const char* folder) {
    const char* rest = MbAfterPrefixNoCase(path, folder);
    return rest && (*rest == 0 || *rest == '\\');
}

bool IsRootForm(const char* form) {
    if (form[0] != '\\') return form[0] && form[1] == ':' && !form[2];
    const char* server_end = MbFindChar(form + 2, '\\');
    return server_end && !MbFindChar(server_end + 1, '\\');
}

bool CutToParent(char* form) {
    char* last = (char*)MbFindLastChar(form, '\\');
    if (!last || last == form) return false;
    *last = 0;
    return true;
}
