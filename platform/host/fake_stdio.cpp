// The C stream functions on the fake file system, for the product's request
// and result files: text mode (the default, or "t") writes "\n" as CR LF and
// reads CR LF as "\n"; "b" keeps the bytes. Streams count as open handles.
#include <stdarg.h>
#include <string.h>

#include <set>

#include "fake_files.h"
#include "fake_world.h"

namespace {

struct Stream {
    std::string path;
    std::string data;  // what is left to read
    size_t next;
    bool writing;
    bool text;
};

std::set<Stream*> open_streams;

// Streams a test left open are freed with the world.
fake::ResetHook stdio_reset([] {
    for (Stream* stream : open_streams) delete stream;
    open_streams.clear();
});

std::string FromText(const std::string& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    return text;
}

std::string ToText(const std::string& text) {
    std::string bytes;
    for (char c : text) bytes += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return bytes;
}

Stream* Open(const std::string& path, const std::string& mode) {
    bool text = mode.find('b') == std::string::npos;
    if (mode[0] == 'r') {
        std::string bytes;
        if (!fake_fs::ReadFile(path, &bytes)) return nullptr;
        return new Stream{path, text ? FromText(bytes) : bytes, 0, false, text};
    }
    if (mode[0] != 'w' || fake_fs::WriteFile(path, "") != 0) return nullptr;
    return new Stream{path, "", 0, true, text};
}

}  // namespace

FILE* FakeFopen(const char* path, const char* mode) {
    fake::LogCall("fopen", std::string(path) + " " + mode);
    if (fake::InjectedFailure("fopen", path) || !*mode) return nullptr;
    Stream* stream = Open(path, mode);
    if (!stream) return nullptr;
    fake::TrackHandle(stream, "stream");
    open_streams.insert(stream);
    return (FILE*)stream;
}

int FakeFprintf(FILE* file, const char* format, ...) {
    Stream* stream = (Stream*)file;
    char text[4096];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (!stream->writing || length < 0) return -1;
    fake_fs::AppendFile(stream->path, stream->text ? ToText(text) : std::string(text));
    return length;
}

int FakeFputs(const char* text, FILE* file) {
    Stream* stream = (Stream*)file;
    if (!stream->writing) return EOF;
    fake_fs::AppendFile(stream->path, stream->text ? ToText(text) : std::string(text));
    return 0;
}

char* FakeFgets(char* out, int size, FILE* file) {
    Stream* stream = (Stream*)file;
    if (stream->writing || size <= 0 || stream->next >= stream->data.size()) return nullptr;
    int length = 0;
    while (length < size - 1 && stream->next < stream->data.size()) {
        char c = stream->data[stream->next++];
        out[length++] = c;
        if (c == '\n') break;
    }
    out[length] = 0;
    return out;
}

int FakeFclose(FILE* file) {
    Stream* stream = (Stream*)file;
    if (!open_streams.count(stream)) return -1;
    fake::LogCall("fclose", stream->path);
    fake::CloseHandleOf(stream, "stream");
    open_streams.erase(stream);
    delete stream;
    return 0;
}
