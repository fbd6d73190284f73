// The C stream functions the product uses for the device tool's request and
// result files, served on the host by the fake file system. The redirection
// applies to product sources only (the host build defines
// FAKE_STDIO_FOR_PRODUCT for them), so that tests and GoogleTest keep the
// real ones.
#pragma once

#include <stdarg.h>
#include <stdio.h>

FILE* FakeFopen(const char* path, const char* mode);
int FakeFprintf(FILE* stream, const char* format, ...);
int FakeFputs(const char* text, FILE* stream);
char* FakeFgets(char* out, int size, FILE* stream);
int FakeFclose(FILE* stream);

#ifdef FAKE_STDIO_FOR_PRODUCT
#define fopen(path, mode) FakeFopen(path, mode)
#define fprintf(...) FakeFprintf(__VA_ARGS__)
#define fputs(text, stream) FakeFputs(text, stream)
#define fgets(out, size, stream) FakeFgets(out, size, stream)
#define fclose(stream) FakeFclose(stream)
#endif
