// A path in UTF-16, converted by kernel32.
#include "system/wide_path.h"

bool WidePath(const char* path, WCHAR* wide, int size) {
    return MultiByteToWideChar(CP_ACP, 0, path, -1, wide, size) != 0;
}
