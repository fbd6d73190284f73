// Compile-time guards of what no test can see: the 32-bit program runs on
// no machine here, so a structure of the wrong size or a function found at
// run time through a pointer of the wrong type (a missing WINAPI is a stack
// fault on the first call) must stop the build instead. The pointer types
// the program uses are the SDK's own declarations (decltype(&::Name));
// these guards hold those declarations to the documented functions.
#pragma once

#include <type_traits>

#define ABI_FUNCTION(name, type) \
    static_assert(std::is_same<decltype(&::name), type>::value, #name " is not " #type)

// shell32, kernel32 and advapi32 functions that older Windows lack.
ABI_FUNCTION(SHGetSpecialFolderPathA, BOOL(WINAPI*)(HWND, LPSTR, int, BOOL));
ABI_FUNCTION(GetSystemWindowsDirectoryA, UINT(WINAPI*)(LPSTR, UINT));
ABI_FUNCTION(RegQueryValueExW, LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD));
ABI_FUNCTION(Wow64DisableWow64FsRedirection, BOOL(WINAPI*)(PVOID*));
ABI_FUNCTION(Wow64RevertWow64FsRedirection, BOOL(WINAPI*)(PVOID));
// version.dll (no allowed import) and sfc.dll (Windows 2000 and later),
// asked whether a file is Windows' own.
ABI_FUNCTION(GetFileVersionInfoSizeA, DWORD(WINAPI*)(LPCSTR, LPDWORD));
ABI_FUNCTION(GetFileVersionInfoA, BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID));
ABI_FUNCTION(VerQueryValueA, BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT));
ABI_FUNCTION(SfcIsFileProtected, BOOL(WINAPI*)(HANDLE, LPCWSTR));
ABI_FUNCTION(IsWow64Process, BOOL(WINAPI*)(HANDLE, PBOOL));
ABI_FUNCTION(GetSystemWow64DirectoryA, UINT(WINAPI*)(LPSTR, UINT));
ABI_FUNCTION(SetFileInformationByHandle,
             BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD));
// comctl32 4.70 and later.
ABI_FUNCTION(InitCommonControlsEx, BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*));
// The security functions, found at run time on every Windows.
ABI_FUNCTION(ImpersonateSelf, BOOL(WINAPI*)(SECURITY_IMPERSONATION_LEVEL));
ABI_FUNCTION(RevertToSelf, BOOL(WINAPI*)());
ABI_FUNCTION(OpenThreadToken, BOOL(WINAPI*)(HANDLE, DWORD, BOOL, PHANDLE));
ABI_FUNCTION(OpenProcessToken, BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE));
ABI_FUNCTION(DuplicateToken, BOOL(WINAPI*)(HANDLE, SECURITY_IMPERSONATION_LEVEL, PHANDLE));
ABI_FUNCTION(AllocateAndInitializeSid,
             BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD, DWORD, DWORD,
                           DWORD, DWORD, DWORD, PSID*));
ABI_FUNCTION(FreeSid, PVOID(WINAPI*)(PSID));
ABI_FUNCTION(GetLengthSid, DWORD(WINAPI*)(PSID));
ABI_FUNCTION(InitializeSecurityDescriptor, BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD));
ABI_FUNCTION(InitializeAcl, BOOL(WINAPI*)(PACL, DWORD, DWORD));
ABI_FUNCTION(AddAccessAllowedAce, BOOL(WINAPI*)(PACL, DWORD, DWORD, PSID));
ABI_FUNCTION(SetSecurityDescriptorDacl, BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL));
ABI_FUNCTION(SetSecurityDescriptorGroup, BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, PSID, BOOL));
ABI_FUNCTION(SetSecurityDescriptorOwner, BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, PSID, BOOL));
ABI_FUNCTION(IsValidSecurityDescriptor, BOOL(WINAPI*)(PSECURITY_DESCRIPTOR));
ABI_FUNCTION(AccessCheck, BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, HANDLE, DWORD, PGENERIC_MAPPING,
                                        PPRIVILEGE_SET, LPDWORD, LPDWORD, LPBOOL));
ABI_FUNCTION(LookupPrivilegeValueA, BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID));
ABI_FUNCTION(AdjustTokenPrivileges, BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD,
                                                  PTOKEN_PRIVILEGES, PDWORD));

#undef ABI_FUNCTION

#ifndef _WIN64
#define ABI_SIZE(type, size) \
    static_assert(sizeof(type) == (size), "sizeof(" #type ") is not " #size)

// The widths every declaration above rests on.
ABI_SIZE(void*, 4);
ABI_SIZE(LONG, 4);
ABI_SIZE(DWORD, 4);
ABI_SIZE(WCHAR, 2);
// Structures handed to the system, whose size it checks or trusts.
ABI_SIZE(STARTUPINFOA, 68);
ABI_SIZE(PROCESS_INFORMATION, 16);
ABI_SIZE(OSVERSIONINFOA, 148);
ABI_SIZE(WIN32_FIND_DATAA, 320);
ABI_SIZE(FILETIME, 8);
ABI_SIZE(RECT, 16);
ABI_SIZE(MSG, 28);
ABI_SIZE(SID_IDENTIFIER_AUTHORITY, 6);
ABI_SIZE(LUID, 8);
ABI_SIZE(TOKEN_PRIVILEGES, 16);
ABI_SIZE(PRIVILEGE_SET, 20);
ABI_SIZE(GENERIC_MAPPING, 16);
ABI_SIZE(ACL, 8);
ABI_SIZE(ACCESS_ALLOWED_ACE, 12);
ABI_SIZE(SECURITY_DESCRIPTOR, 20);
ABI_SIZE(FILE_INFO_BY_HANDLE_CLASS, 4);
ABI_SIZE(FILE_DISPOSITION_INFO, 1);
ABI_SIZE(BY_HANDLE_FILE_INFORMATION, 52);

#undef ABI_SIZE
#endif
