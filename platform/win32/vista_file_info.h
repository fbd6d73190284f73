// Vista's file information by handle, declared here because the program is
// built for the Windows 2000 baseline; the function is only ever found at
// run time, never imported.
#pragma once

#if _WIN32_WINNT < 0x0600
typedef enum _FILE_INFO_BY_HANDLE_CLASS {
    FileBasicInfo = 0,
    FileDispositionInfo = 4,
} FILE_INFO_BY_HANDLE_CLASS;
typedef struct _FILE_DISPOSITION_INFO {
    BOOLEAN DeleteFile;
} FILE_DISPOSITION_INFO;
extern "C" WINBASEAPI BOOL WINAPI SetFileInformationByHandle(HANDLE file,
                                                             FILE_INFO_BY_HANDLE_CLASS information_class,
                                                             LPVOID information, DWORD size);
// The layout ntdll's FILE_BASIC_INFORMATION shares.
typedef struct _FILE_BASIC_INFO {
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    DWORD FileAttributes;
} FILE_BASIC_INFO;
#endif
