// The full form of a path: what Windows resolves it to, spelled one way.
#include "removal/full_paths.h"

#include "platform/mbtext.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

// The form being written: `root` bytes of root, then "\name" pieces.
struct Form {
    char* out;
    size_t size;
    size_t used;
    size_t root;
};

bool Append(Form& form, const char* text, size_t length) {
    if (form.used + length + 1 > form.size) return false;
    memcpy(form.out + form.used, text, length);
    form.used += length;
    form.out[form.used] = 0;
    return true;
}

// The end of the piece that starts at `p`: the next separator or the end.
const char* PieceEnd(const char* p) {
    while (*p && !IsSeparator(*p)) p = MbNext(p);
    return p;
}

// A name's length without its trailing dots and blanks, which Windows
// ignores; a double-byte character's trail byte is never taken for one.
size_t TrimmedLength(const char* piece, const char* end) {
    const char* kept = piece;
    for (const char* p = piece; p < end; p = MbNext(p))
        if (*p != '.' && *p != ' ') kept = MbNext(p);
    return (size_t)(kept - piece);
}

void DropLastName(Form& form) {
    const char* last = MbFindLastChar(form.out + form.root, '\\');
    if (!last) return;
    form.used = (size_t)(last - form.out);
    form.out[form.used] = 0;
}

bool AddPiece(Form& form, const char* piece, const char* end) {
    size_t length = (size_t)(end - piece);
    if (length == 2 && piece[0] == '.' && piece[1] == '.') {
        DropLastName(form);
        return true;
    }
    length = TrimmedLength(piece, end);
    if (length == 0) return true;  // "", "." and names of dots only
    return Append(form, "\\", 1) && Append(form, piece, length);
}

bool AddPieces(Form& form, const char* p) {
    while (*p) {
        while (IsSeparator(*p)) ++p;
        const char* end = PieceEnd(p);
        if (end > p && !AddPiece(form, p, end)) return false;
        p = end;
    }
    return true;
}

// "\\?\C:\..." and "\\.\C:\..." name the same as "C:\..."; "\\?\UNC\s\h"
// the same as "\\s\h". Returns where the rest begins (after the two
// backslashes of a share); `share` tells which kind of root follows.
const char* SkipDevicePrefix(const char* path, bool* share) {
    *share = IsSeparator(path[0]) && IsSeparator(path[1]);
    if (!*share) return path;
    if ((path[2] != '?' && path[2] != '.') || !IsSeparator(path[3])) return path + 2;
    path += 4;
    *share = FoldAscii(path[0]) == 'u' && FoldAscii(path[1]) == 'n' && FoldAscii(path[2]) == 'c' &&
             IsSeparator(path[3]);
    return *share ? path + 4 : path;
}

// "\\server\share": both names present; written with single backslashes.
bool AddShareRoot(Form& form, const char** p) {
    const char* rest = *p;
    if (!Append(form, "\\", 1)) return false;
    for (int i = 0; i < 2; ++i) {
        while (i == 1 && IsSeparator(*rest)) ++rest;
        const char* end = PieceEnd(rest);
        if (end == rest || !Append(form, "\\", 1) || !Append(form, rest, (size_t)(end - rest)))
            return false;
        rest = end;
    }
    *p = rest;
    return true;
}

bool AddDriveRoot(Form& form, const char** p) {
    const char* path = *p;
    bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    if (!letter || path[1] != ':' || !IsSeparator(path[2])) return false;
    char root[2] = {(char)(FoldAscii(path[0]) - 'a' + 'A'), ':'};
    *p = path + 3;
    return Append(form, root, 2);
}

}  // namespace

bool FullPathForm(const char* path, char* out, size_t size) {
    if (!path || size < 3) return false;
    Form form = {out, size, 0, 0};
    out[0] = 0;
    bool share;
    const char* p = SkipDevicePrefix(path, &share);
    if (!(share ? AddShareRoot(form, &p) : AddDriveRoot(form, &p))) return false;
    form.root = form.used;
    return AddPieces(form, p);
}

bool IsSameOrBelow(const char* path, const char* folder) {
    while (*folder) {
        size_t step = (size_t)(MbNext(folder) - folder);
        if ((size_t)(MbNext(path) - path) != step) return false;
        if (step == 1 ? FoldAscii(*path) != FoldAscii(*folder) : memcmp(path, folder, step) != 0)
            return false;
        path += step;
        folder += step;
    }
    return *path == 0 || *path == '\\';
}

bool IsRootForm(const char* form) {
    if (form[0] != '\\') return form[0] && form[1] == ':' && !form[2];
    const char* server_end = MbFindChar(form + 2, '\\');
    return server_end && !MbFindChar(server_end + 1, '\\');
}
