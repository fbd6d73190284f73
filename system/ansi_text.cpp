// The messages in the ANSI code page, converted by kernel32.
#include "system/ansi_text.h"

char* ToAnsiText(const WCHAR* wide) {
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    char* narrow = size > 0 ? (char*)malloc((size_t)size + 1) : nullptr;
    int written = narrow ? WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, size, nullptr, nullptr) : 0;
    if (written <= 0) {
        free(narrow);
        return nullptr;
    }
    narrow[written] = 0;
    return narrow;
}
