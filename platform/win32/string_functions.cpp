// The C run-time's string and memory-block functions that the program and
// the compiler call (GCC emits memcpy and memset for copies and clearing of
// its own accord), so that no run-time library is needed. Built with
// -fno-builtin and without loop-to-call rewriting, or memset would become a
// call of itself.
#include <string.h>

extern "C" {

void* memset(void* block, int value, size_t size) {
    unsigned char* out = (unsigned char*)block;
    while (size--) *out++ = (unsigned char)value;
    return block;
}

void* memcpy(void* target, const void* source, size_t size) {
    unsigned char* out = (unsigned char*)target;
    const unsigned char* in = (const unsigned char*)source;
    while (size--) *out++ = *in++;
    return target;
}

// Copies backwards when the target lies above an overlapping source.
void* memmove(void* target, const void* source, size_t size) {
    unsigned char* out = (unsigned char*)target;
    const unsigned char* in = (const unsigned char*)source;
    if (out <= in || out >= in + size) return memcpy(target, source, size);
    while (size--) out[size] = in[size];
    return target;
}

int memcmp(const void* a, const void* b, size_t size) {
    const unsigned char* left = (const unsigned char*)a;
    const unsigned char* right = (const unsigned char*)b;
    for (; size; --size, ++left, ++right)
        if (*left != *right) return *left - *right;
    return 0;
}

void* memchr(const void* block, int value, size_t size) {
    const unsigned char* in = (const unsigned char*)block;
    for (; size; --size, ++in)
        if (*in == (unsigned char)value) return (void*)in;
    return nullptr;
}

size_t strlen(const char* text) {
    const char* end = text;
    while (*end) ++end;
    return (size_t)(end - text);
}

char* strcpy(char* target, const char* source) {
    char* out = target;
    while ((*out++ = *source++) != 0) {
    }
    return target;
}

char* strcat(char* target, const char* source) {
    strcpy(target + strlen(target), source);
    return target;
}

// Bytes compare as unsigned char, as the run-time does.
int strncmp(const char* a, const char* b, size_t size) {
    for (; size; --size, ++a, ++b)
        if (*a != *b || !*a) return (unsigned char)*a - (unsigned char)*b;
    return 0;
}

int strcmp(const char* a, const char* b) { return strncmp(a, b, (size_t)-1); }

char* strchr(const char* text, int wanted) {
    for (;; ++text) {
        if (*text == (char)wanted) return (char*)text;
        if (!*text) return nullptr;
    }
}

}  // extern "C"
