// Asking Windows File Protection and a file's version resource whether the
// file is Windows' own, through the libraries found at run time.
#include "removal/guardrails/system_file_checks.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "system/library_calls.h"
#include "system/run_time_functions.h"
#include "system/system_library.h"
#include "system/wide_path.h"
#include "system/windows_family.h"

namespace {

// A version resource is a few kilobytes; a larger claim is not read.
const DWORD kMaxVersionBlock = 256 * 1024;
// The string tables read when a file lists none: U.S. English in Unicode
// and in the Western code page.
const DWORD kDefaultTables[] = {0x04B00409, 0x04E40409};
const UINT kMaxTables = 16;

// "Microsoft" anywhere in the first `length` bytes, up to a terminator.
bool HoldsMicrosoft(const char* text, size_t length) {
    static const char kName[] = "microsoft";
    const size_t name_length = sizeof kName - 1;
    for (size_t start = 0; start + name_length <= length && text[start]; ++start) {
        size_t i = 0;
        while (i < name_length && FoldAscii(text[start + i]) == kName[i]) ++i;
        if (i == name_length) return true;
    }
    return false;
}

// The data VerQueryValueA gives for `name`, kept within the block.
bool QueryWithin(const SystemFileChecks& checks, const char* block, DWORD size, const char* name,
                 const char** data, size_t* length) {
    LPVOID found = nullptr;
    UINT found_length = 0;
    if (!checks.VerQueryValueA(block, name, &found, &found_length) || !found) return false;
    const char* at = (const char*)found;
    if (at < block || at >= block + size) return false;
    *data = at;
    size_t room = (size_t)(block + size - at);
    *length = found_length < room ? found_length : room;
    return true;
}

// The company name of `table`, as "\VarFileInfo\Translation" lists it:
// language, then code page.
bool QueryCompany(const SystemFileChecks& checks, const char* block, DWORD size, DWORD table,
                  const char** company, size_t* length) {
    char name[64];
    wsprintfA(name, "\\StringFileInfo\\%04x%04x\\CompanyName", (unsigned)(table & 0xFFFF),
              (unsigned)(table >> 16));
    return QueryWithin(checks, block, size, name, company, length);
}

bool TableNamesMicrosoft(const SystemFileChecks& checks, const char* block, DWORD size, DWORD table) {
    const char* company;
    size_t length;
    return QueryCompany(checks, block, size, table, &company, &length) && HoldsMicrosoft(company, length);
}

bool BlockNamesMicrosoft(const SystemFileChecks& checks, const char* block, DWORD size) {
    const char* list;
    size_t length;
    if (!QueryWithin(checks, block, size, "\\VarFileInfo\\Translation", &list, &length) || length < 4) {
        for (DWORD table : kDefaultTables)
            if (TableNamesMicrosoft(checks, block, size, table)) return true;
        return false;
    }
    for (size_t i = 0; i < length / 4 && i < kMaxTables; ++i) {
        WORD pair[2];
        memcpy(pair, list + i * 4, sizeof pair);
        if (TableNamesMicrosoft(checks, block, size, pair[0] | (DWORD)pair[1] << 16)) return true;
    }
    return false;
}

// Wine's stand-ins carry their mark where a program's DOS stub would be.
bool HasWineMark(const char* header, DWORD length) {
    static const char* const kMarks[] = {"Wine builtin DLL", "Wine placeholder DLL"};
    const DWORD at = 0x40;
    for (const char* mark : kMarks) {
        DWORD mark_length = (DWORD)strlen(mark);
        if (length >= at + mark_length && memcmp(header + at, mark, mark_length) == 0) return true;
    }
    return false;
}

const DWORD kHeaderSize = 0x60;

}  // namespace

// Windows 9x knows no delete sharing: read and write sharing serve both.
bool ReadFileStart(const char* path, void* data, DWORD size, DWORD* length) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    *length = 0;
    BOOL read = ReadFile(file, data, size, length, nullptr);
    CloseHandle(file);
    return read != FALSE;
}

ImageKind ReadImageKind(const char* path) {
    char header[kHeaderSize];
    DWORD length = 0;
    if (!ReadFileStart(path, header, kHeaderSize, &length)) return UnreadImage;
    if (length < 2 || header[0] != 'M' || header[1] != 'Z') return NotAnImage;
    return HasWineMark(header, length) ? WineStandIn : ProgramImage;
}

bool CarriesWineMark(const char* path) {
    char header[kHeaderSize];
    DWORD length = 0;
    return ReadFileStart(path, header, kHeaderSize, &length) && HasWineMark(header, length);
}

namespace {

// Windows File Protection came with Windows 2000: older Windows are not
// even asked for a library they never had.
HMODULE LoadFileProtection() {
    return GetWindowsFamily() == FamilyWin2000 ? LoadSystemLibrary("sfc.dll") : nullptr;
}

}  // namespace

static_assert(offsetof(SystemFileChecks, VerQueryValueA) ==
                  offsetof(SystemFileChecks, GetFileVersionInfoSizeA) + 2 * sizeof(FARPROC),
              "the version functions side by side, in the order of their names");

void LoadSystemFileChecks(SystemFileChecks* checks) {
    checks->version = LoadSystemLibrary("version.dll");
    checks->sfc = LoadFileProtection();
    FindFunctions(checks->version, "GetFileVersionInfoSizeA\0GetFileVersionInfoA\0VerQueryValueA",
                  &checks->GetFileVersionInfoSizeA, 3 * sizeof(FARPROC));
    FindFunction(checks->sfc, "SfcIsFileProtected", &checks->SfcIsFileProtected);
}

void FreeSystemFileChecks(SystemFileChecks* checks) {
    if (checks->version) FreeSystemLibrary(checks->version);
    if (checks->sfc) FreeSystemLibrary(checks->sfc);
    checks->version = checks->sfc = nullptr;
}

// SfcIsFileProtected takes the path in UTF-16.
bool IsKeptByFileProtection(const SystemFileChecks& checks, const char* path) {
    if (!checks.SfcIsFileProtected) return false;
    WCHAR wide[PATH_BUFFER_SIZE];
    if (!WidePath(path, wide, PATH_BUFFER_SIZE)) return false;
    return checks.SfcIsFileProtected(nullptr, wide) != FALSE;
}

namespace {

// The file's version resource in a block the caller frees; null without one.
char* ReadVersionBlock(const SystemFileChecks& checks, const char* path, DWORD* size) {
    if (!checks.GetFileVersionInfoSizeA || !checks.GetFileVersionInfoA || !checks.VerQueryValueA)
        return nullptr;
    DWORD handle = 0;
    *size = checks.GetFileVersionInfoSizeA(path, &handle);
    if (*size == 0 || *size > kMaxVersionBlock) return nullptr;
    char* block = (char*)malloc(*size);
    if (block && !checks.GetFileVersionInfoA(path, handle, *size, block)) {
        free(block);
        return nullptr;
    }
    return block;
}

bool TableCompany(const SystemFileChecks& checks, const char* block, DWORD size, DWORD table,
                  char* out, size_t out_size) {
    const char* company;
    size_t length;
    if (!QueryCompany(checks, block, size, table, &company, &length)) return false;
    size_t n = 0;
    for (; n < length && company[n] && n + 1 < out_size; ++n) out[n] = company[n];
    out[n] = 0;
    return n > 0;
}

// The first table's company name: the one the file lists first, else a
// default table's.
bool BlockCompany(const SystemFileChecks& checks, const char* block, DWORD size, char* out,
                  size_t out_size) {
    const char* list;
    size_t length;
    if (QueryWithin(checks, block, size, "\\VarFileInfo\\Translation", &list, &length) && length >= 4) {
        WORD pair[2];
        memcpy(pair, list, sizeof pair);
        return TableCompany(checks, block, size, pair[0] | (DWORD)pair[1] << 16, out, out_size);
    }
    for (DWORD table : kDefaultTables)
        if (TableCompany(checks, block, size, table, out, out_size)) return true;
    return false;
}

}  // namespace

bool ReadCompanyName(const SystemFileChecks& checks, const char* path, char* company, size_t size) {
    DWORD block_size = 0;
    char* block = size ? ReadVersionBlock(checks, path, &block_size) : nullptr;
    bool found = block && BlockCompany(checks, block, block_size, company, size);
    free(block);
    return found;
}

void ReadFileMaker(const SystemFileChecks& checks, const char* path, bool* microsoft, char* company,
                   size_t size) {
    DWORD block_size = 0;
    char* block = ReadVersionBlock(checks, path, &block_size);
    *microsoft = block && BlockNamesMicrosoft(checks, block, block_size);
    if (size && (!block || !BlockCompany(checks, block, block_size, company, size))) company[0] = 0;
    free(block);
}

bool IsMadeByMicrosoft(const SystemFileChecks& checks, const char* path) {
    DWORD size = 0;
    char* block = ReadVersionBlock(checks, path, &size);
    bool microsoft = block && BlockNamesMicrosoft(checks, block, size);
    free(block);
    return microsoft;
}
