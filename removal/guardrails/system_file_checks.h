// What Windows itself says about a file: whether Windows File Protection
// keeps it (sfc.dll, Windows 2000 and later) and whether its version
// resource names Microsoft as its maker (version.dll). Neither library may
// be imported, so both are found at run time.
#pragma once

#include "platform/platform.h"

struct SystemFileChecks {
    HMODULE version;
    HMODULE sfc;
    decltype(&::GetFileVersionInfoSizeA) GetFileVersionInfoSizeA;
    decltype(&::GetFileVersionInfoA) GetFileVersionInfoA;
    decltype(&::VerQueryValueA) VerQueryValueA;
    decltype(&::SfcIsFileProtected) SfcIsFileProtected;
};

// Loads what this Windows has of both libraries; a missing one (no sfc.dll
// before Windows 2000) only leaves its check out. Every load is given back
// with FreeSystemFileChecks.
void LoadSystemFileChecks(SystemFileChecks* checks);
void FreeSystemFileChecks(SystemFileChecks* checks);

// What the first bytes of a file say: no program image (so no version
// resource either), a program image ("MZ": Windows' executables, libraries
// and drivers of every kind), one of the stand-ins Wine puts where Windows
// has its own file, or nothing (the file could not be read).
enum ImageKind { NotAnImage, ProgramImage, WineStandIn, UnreadImage };
ImageKind ReadImageKind(const char* path);

// The file's first bytes, at most `size`, with `length` read; false when it
// cannot be opened or read.
bool ReadFileStart(const char* path, void* data, DWORD size, DWORD* length);

// True when the file carries Wine's mark where a program's DOS stub would
// be, whatever its first bytes.
bool CarriesWineMark(const char* path);

// True when Windows File Protection reports the file, given by its full path.
bool IsKeptByFileProtection(const SystemFileChecks& checks, const char* path);
// True when a company name of the file's version resource holds "Microsoft".
bool IsMadeByMicrosoft(const SystemFileChecks& checks, const char* path);
// The company name of the file's version resource (its first string
// table's), cut to `size` bytes; false when the file names none.
bool ReadCompanyName(const SystemFileChecks& checks, const char* path, char* company, size_t size);
// Both from one read of the version resource: whether any table names
// Microsoft, and the first table's company name ("" without one).
void ReadFileMaker(const SystemFileChecks& checks, const char* path, bool* microsoft, char* company,
                   size_t size);
