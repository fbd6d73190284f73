// Text files as the C run-time's text mode keeps them, on CreateFileA,
// ReadFile and WriteFile: a line ends in CR LF on disk and in '\n' in
// memory, a lone CR stays a CR, and a Ctrl-Z ends the file when reading.
// For the device tool's request and result files.
#pragma once

#include "platform/platform.h"

#define TEXT_FILE_BUFFER_SIZE 512

struct TextFile {
    HANDLE handle;
    bool writing;
    bool failed;  // a write went wrong
    bool ended;   // reading: the end, a read error or a Ctrl-Z was met
    DWORD used;   // bytes in the buffer
    DWORD next;   // reading: the next byte to hand out
    char buffer[TEXT_FILE_BUFFER_SIZE];
};

// Creates or empties the file for writing; false when it cannot be.
bool TextFileCreate(TextFile* file, const char* path);
// Opens an existing file for reading; false when it cannot be.
bool TextFileOpen(TextFile* file, const char* path);
// Writes the text, each '\n' as CR LF; false once any write has failed.
bool TextFileWrite(TextFile* file, const char* text);
// As fgets: up to size - 1 characters, the line's '\n' kept when it fits,
// always terminated. Null when nothing was left to read.
char* TextFileReadLine(TextFile* file, char* line, int size);
// Writes what is buffered and closes; false when a write or the close failed.
bool TextFileClose(TextFile* file);
