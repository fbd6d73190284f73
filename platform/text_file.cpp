// Text-mode files on the system's own file calls (see text_file.h).
#include "platform/text_file.h"

#define CTRL_Z 0x1A

namespace {

bool Open(TextFile* file, const char* path, DWORD access, DWORD disposition) {
    file->handle = CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    file->writing = access == GENERIC_WRITE;
    file->failed = false;
    file->ended = false;
    file->used = 0;
    file->next = 0;
    return file->handle != INVALID_HANDLE_VALUE;
}

// A short write counts as a failed one.
void Flush(TextFile* file) {
    DWORD written = 0;
    if (file->used && (!WriteFile(file->handle, file->buffer, file->used, &written, nullptr) ||
                       written != file->used))
        file->failed = true;
    file->used = 0;
}

void Put(TextFile* file, char c) {
    if (file->used == sizeof file->buffer) Flush(file);
    file->buffer[file->used++] = c;
}

// True when a byte is waiting in the buffer, reading more when it is empty.
bool Fill(TextFile* file) {
    if (file->next < file->used) return true;
    if (file->ended) return false;
    DWORD got = 0;
    if (!ReadFile(file->handle, file->buffer, sizeof file->buffer, &got, nullptr) || !got) {
        file->ended = true;
        return false;
    }
    file->used = got;
    file->next = 0;
    return true;
}

// The next character as text mode reads it, or -1 at the end.
int NextChar(TextFile* file) {
    if (!Fill(file)) return -1;
    char c = file->buffer[file->next++];
    if (c == CTRL_Z) {
        file->ended = true;
        file->next = file->used;
        return -1;
    }
    if (c != '\r' || !Fill(file) || file->buffer[file->next] != '\n') return (unsigned char)c;
    ++file->next;
    return '\n';
}

}  // namespace

bool TextFileCreate(TextFile* file, const char* path) {
    return Open(file, path, GENERIC_WRITE, CREATE_ALWAYS);
}

bool TextFileOpen(TextFile* file, const char* path) {
    return Open(file, path, GENERIC_READ, OPEN_EXISTING);
}

bool TextFileWrite(TextFile* file, const char* text) {
    for (; *text; ++text) {
        if (*text == '\n') Put(file, '\r');
        Put(file, *text);
    }
    return !file->failed;
}

char* TextFileReadLine(TextFile* file, char* line, int size) {
    if (size <= 0) return nullptr;
    int length = 0;
    while (length < size - 1) {
        int c = NextChar(file);
        if (c < 0) break;
        line[length++] = (char)c;
        if (c == '\n') break;
    }
    line[length] = 0;
    return length ? line : nullptr;
}

bool TextFileClose(TextFile* file) {
    if (file->writing) Flush(file);
    bool closed = CloseHandle(file->handle) != FALSE;
    file->handle = INVALID_HANDLE_VALUE;
    return closed && !file->failed;
}
