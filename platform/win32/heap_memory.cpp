// The C run-time's memory functions on the process heap, so that the program
// needs no run-time library: a stock Windows 95 has none.
#include <windows.h>
#include <stdlib.h>

extern "C" {

void* malloc(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

// The product's callers size their blocks themselves; an overflowing
// count times size is refused rather than wrapped.
void* calloc(size_t count, size_t size) {
    if (size && count > (size_t)-1 / size) return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * size);
}

void free(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

// HeapReAlloc takes no null block; a failed growth keeps the old block.
void* realloc(void* block, size_t size) {
    if (!block) return malloc(size);
    if (!size) {
        free(block);
        return nullptr;
    }
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

}  // extern "C"
