// The file system's names in kernel32: searching, attributes, deleting,
// moving (deferred deletion), short and full path names, drive
// kinds and the WOW64 view of the system folder. Handles are in
// file_handles_api.h.
#pragma once

#include "registry_api.h"  // FILETIME
#include "win32_types.h"

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

#define ERROR_DIRECTORY 267L

#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATAA* LPWIN32_FIND_DATAA;

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
BOOL FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data);
BOOL FindClose(HANDLE find);
DWORD GetFileAttributesA(LPCSTR path);
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
BOOL DeleteFileA(LPCSTR file_name);
BOOL RemoveDirectoryA(LPCSTR path_name);
// A new folder: ERROR_ALREADY_EXISTS when the name is taken, whatever by.
BOOL CreateDirectoryA(LPCSTR path_name, LPSECURITY_ATTRIBUTES security);
BOOL MoveFileExA(LPCSTR existing, LPCSTR replacement, DWORD flags);
DWORD GetShortPathNameA(LPCSTR long_path, LPSTR short_path, DWORD size);
// The full form of a path as Windows resolves it: the current folder for a
// relative one, '/' as a backslash, "." and ".." resolved, a single trailing
// dot of a name dropped and trailing dots and blanks of the last one; "\\?\"
// paths are given back as they are. `file_part` may be null.
DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* file_part);

#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
// The kind of drive of a root ("C:\\"; a share's root is remote).
UINT GetDriveTypeA(LPCSTR root);

// A 32-bit program on 64-bit Windows: its view of the system folder.
BOOL Wow64DisableWow64FsRedirection(PVOID* old_value);
BOOL Wow64RevertWow64FsRedirection(PVOID old_value);
BOOL IsWow64Process(HANDLE process, PBOOL wow64_process);
UINT GetSystemWow64DirectoryA(LPSTR buffer, UINT size);
