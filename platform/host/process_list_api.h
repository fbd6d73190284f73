// Which process owns a window (user32) and the list of running processes
// (kernel32's tool help, Windows 95 and 2000 on; found at run time).
#pragma once

#include "win32_types.h"

#define TH32CS_SNAPPROCESS 0x00000002u
#define ERROR_INVALID_WINDOW_HANDLE 1400L

struct PROCESSENTRY32 {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];
};
typedef PROCESSENTRY32* LPPROCESSENTRY32;

DWORD GetWindowThreadProcessId(HWND window, LPDWORD process_id);
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD process_id);
BOOL Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry);
