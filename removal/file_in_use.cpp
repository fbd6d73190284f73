// The one probe of a file's being in use: an open for writing.
#include "removal/file_in_use.h"

bool WriteOpenRefused(const char* path, DWORD share) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}
