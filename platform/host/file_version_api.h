// Version resources of files (version.dll) and the files Windows protects
// as its own (sfc.dll, Windows 2000 and later). The program finds both
// libraries' functions at run time.
#pragma once

#include "win32_types.h"

#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L

typedef UINT* PUINT;

DWORD GetFileVersionInfoSizeA(LPCSTR file_name, LPDWORD handle);
BOOL GetFileVersionInfoA(LPCSTR file_name, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID* buffer, PUINT length);
BOOL SfcIsFileProtected(HANDLE rpc, LPCWSTR file_name);
