// The cleanup copy's folder and files. A folder name nobody can guess
// keeps others from taking it first, CreateDirectoryA's refusal of an
// existing name keeps the copy out of a folder someone made, and
// CREATE_NEW keeps it from writing through a file or link put in its way.
#include "app/cleanup_place.h"

#include "system/windows_directory.h"
#include "system/administrator.h"
#include "system/run_time_functions.h"
#include "system/windows_family.h"

namespace {

const int kFolderTries = 16;
const DWORD kChunk = 4096;

// RtlGenRandom, which advapi32 exports under this name from Windows XP on.
typedef BYTE(WINAPI* GenRandomFn)(PVOID buffer, ULONG length);

// Random bits where Windows has them, mixed with the clock everywhere.
DWORD RandomBits() {
    DWORD value = 0;
    GenRandomFn generate = LoadedFunction<GenRandomFn>("advapi32.dll", "SystemFunction036");
    if (!generate || !generate(&value, sizeof value)) value = 0;
    SYSTEMTIME now;
    GetLocalTime(&now);
    return value ^ (GetTickCount() * 2654435761u) ^ ((DWORD)now.wMilliseconds << 20);
}

bool IsElevatedNt() { return IsWindowsNT() && IsAdministrator(); }

// The Windows temporary folder when elevated on NT, else the user's; with
// a backslash at its end.
bool BaseFolder(char* base, bool elevated) {
    const UINT room = PATH_BUFFER_SIZE - 48;
    UINT length = elevated ? GetSystemWindowsDir(base, room) : GetTempPathA(room, base);
    if (length == 0 || length >= room) return false;
    if (elevated) lstrcpynA(base + length, base[length - 1] == '\\' ? "Temp\\" : "\\Temp\\", 7);
    else if (base[length - 1] != '\\') lstrcpynA(base + length, "\\", 2);
    return GetFileAttributesA(base) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFreshFolder(CleanupPlace* place, const char* base) {
    LPSECURITY_ATTRIBUTES security = place->restricted ? &place->access.attributes : nullptr;
    for (int i = 0; i < kFolderTries; ++i) {
        wsprintfA(place->folder, "%sxlnclean-%08lX%08lX", base, (unsigned long)RandomBits(),
                  (unsigned long)RandomBits());
        if (CreateDirectoryA(place->folder, security)) {
            lstrcpynA(place->folder + lstrlenA(place->folder), "\\", 2);
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

// The program's own image, for reading.
HANDLE OpenOwnImage() {
    char program[PATH_BUFFER_SIZE];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (!length || length >= sizeof program) return INVALID_HANDLE_VALUE;
    return CreateFileA(program, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

bool CopyContents(HANDLE from, HANDLE to, char* buffer) {
    for (;;) {
        DWORD read = 0, written = 0;
        if (!ReadFile(from, buffer, kChunk, &read, nullptr)) return false;
        if (read == 0) return true;
        if (!WriteFile(to, buffer, read, &written, nullptr) || written != read) return false;
    }
}

// Both hold the same bytes, read from their starts: size and content.
bool SameContents(HANDLE a, HANDLE b, char* buffer) {
    if (SetFilePointer(a, 0, nullptr, FILE_BEGIN) != 0 || SetFilePointer(b, 0, nullptr, FILE_BEGIN) != 0)
        return false;
    for (;;) {
        DWORD read_a = 0, read_b = 0;
        if (!ReadFile(a, buffer, kChunk, &read_a, nullptr) ||
            !ReadFile(b, buffer + kChunk, kChunk, &read_b, nullptr))
            return false;
        if (read_a != read_b || memcmp(buffer, buffer + kChunk, read_a) != 0) return false;
        if (read_a == 0) return true;
    }
}

// The copy written whole from the image, then read back through a handle
// of its own that no one may write through while it is held.
HANDLE WriteAndHold(CleanupPlace* place, HANDLE image, char* copy, char* buffer) {
    HANDLE target = CreateFileInPlace(place, kCleanupCopyName, false, copy);
    if (target == INVALID_HANDLE_VALUE) {
        copy[0] = 0;  // not this run's file: never deleted
        return target;
    }
    bool written = CopyContents(image, target, buffer);
    CloseHandle(target);
    if (!written) return INVALID_HANDLE_VALUE;
    HANDLE held = CreateFileA(copy, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (held == INVALID_HANDLE_VALUE || SameContents(image, held, buffer)) return held;
    CloseHandle(held);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

bool MakeCleanupPlace(CleanupPlace* place) {
    char base[PATH_BUFFER_SIZE];
    bool elevated = IsElevatedNt();
    place->restricted = elevated && BuildAdminOnlyAccess(&place->access);
    if (elevated && !place->restricted) return false;  // never an open folder in a shared place
    bool made = (BaseFolder(base, elevated) || (elevated && BaseFolder(base, false))) &&
                CreateFreshFolder(place, base);
    if (!made) FreeCleanupPlace(place);
    return made;
}

void FreeCleanupPlace(CleanupPlace* place) {
    if (place->restricted) FreeAdminOnlyAccess(&place->access);
    place->restricted = false;
}

HANDLE CreateFileInPlace(CleanupPlace* place, const char* name, bool inheritable, char* path) {
    wsprintfA(path, "%s%s", place->folder, name);
    SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
    if (place->restricted) security = place->access.attributes;
    security.bInheritHandle = inheritable ? TRUE : FALSE;
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE WriteProgramCopy(CleanupPlace* place, char* copy) {
    HANDLE image = OpenOwnImage();
    char* buffer = (char*)malloc(2 * kChunk);
    copy[0] = 0;
    HANDLE held = INVALID_HANDLE_VALUE;
    if (image != INVALID_HANDLE_VALUE && buffer) held = WriteAndHold(place, image, copy, buffer);
    if (held == INVALID_HANDLE_VALUE && copy[0]) DeleteFileA(copy);
    if (image != INVALID_HANDLE_VALUE) CloseHandle(image);
    free(buffer);
    return held;
}
