// Opening, reading and writing files through handles (kernel32).
#pragma once

#include "registry_api.h"  // LPSECURITY_ATTRIBUTES
#include "win32_types.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
// Lets others delete or rename the file while this handle is open.
#define FILE_SHARE_DELETE 0x00000004
// The right to delete (or rename) what the handle names.
#define DELETE 0x00010000
#define FILE_READ_ATTRIBUTES 0x0080
// Reading a file's data, or listing a folder (the same right).
#define FILE_READ_DATA 0x0001
#define FILE_LIST_DIRECTORY 0x0001
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

// Opens a folder as well (NT family only): its handle tells its identity.
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000
// Opens a link (a reparse point) itself instead of what it leads to (NT
// family only).
#define FILE_FLAG_OPEN_REPARSE_POINT 0x00200000
// The file is deleted when its last handle is closed; a file Windows will
// not delete (read-only, a running program) is not opened.
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000

// A new object's descriptor (null: the default one), and whether a started
// program that inherits handles gets this one.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};

struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
};
typedef BY_HANDLE_FILE_INFORMATION* LPBY_HANDLE_FILE_INFORMATION;

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

struct OVERLAPPED;
typedef OVERLAPPED* LPOVERLAPPED;

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD attributes, HANDLE template_file);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written,
               LPOVERLAPPED overlapped);
// Moves the handle's position; files over 4 GB are not modelled, so the
// high part must be null or 0.
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distance_high, DWORD method);
// The volume's serial number and the file's index on it: the same for every
// path that reaches the same file or folder.
BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);

// Vista and later: SetFileInformationByHandle marks the file for deletion
// at its last handle's close (the handle needs DELETE access). A read-only
// file or a running program is refused with access denied, a folder with
// something in it with ERROR_DIR_NOT_EMPTY.
typedef unsigned char BOOLEAN;
typedef enum _FILE_INFO_BY_HANDLE_CLASS { FileBasicInfo = 0, FileDispositionInfo = 4 } FILE_INFO_BY_HANDLE_CLASS;
typedef struct _FILE_DISPOSITION_INFO {
    BOOLEAN DeleteFile;
} FILE_DISPOSITION_INFO;
BOOL SetFileInformationByHandle(HANDLE file, FILE_INFO_BY_HANDLE_CLASS information_class,
                                LPVOID information, DWORD size);
// FileBasicInfo's layout, which ntdll's FILE_BASIC_INFORMATION shares.
typedef struct _FILE_BASIC_INFO {
    long long CreationTime;  // LARGE_INTEGER each
    long long LastAccessTime;
    long long LastWriteTime;
    long long ChangeTime;
    DWORD FileAttributes;
} FILE_BASIC_INFO;
// ntdll's query of an open file, on every NT version: its attributes and
// times (FileBasicInformation) or its index (FileInternalInformation). An
// NTSTATUS: 0 on success.
const ULONG kFileBasicInformation = 4, kFileInternalInformation = 6;
LONG NtQueryInformationFile(HANDLE file, void* io_status, void* information, ULONG size,
                            ULONG information_class);
