// The few C library routines the compiler and the shared text helpers call.
// The tools link no C run-time (msvcrt.dll is missing on the first Windows
// 95), so they carry their own. Built with -fno-builtin and without loop
// pattern replacement, so these loops never turn into calls to themselves.
#include <stddef.h>

extern "C" {

void* memset(void* target, int value, size_t count) {
    unsigned char* p = (unsigned char*)target;
    while (count--) *p++ = (unsigned char)value;
    return target;
}

void* memcpy(void* target, const void* source, size_t count) {
    unsigned char* p = (unsigned char*)target;
    const unsigned char* q = (const unsigned char*)source;
    while (count--) *p++ = *q++;
    return target;
}

int memcmp(const void* a, const void* b, size_t count) {
    const unsigned char* p = (const unsigned char*)a;
    const unsigned char* q = (const unsigned char*)b;
    for (; count; --count, ++p, ++q)
        if (*p != *q) return *p < *q ? -1 : 1;
    return 0;
}

size_t strlen(const char* text) {
    size_t length = 0;
    while (text[length]) ++length;
    return length;
}

int strncmp(const char* a, const char* b, size_t count) {
    for (; count; --count, ++a, ++b) {
        if (*a != *b) return (unsigned char)*a < (unsigned char)*b ? -1 : 1;
        if (!*a) return 0;
    }
    return 0;
}

}  // extern "C"
