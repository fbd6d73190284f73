// Resource functions of kernel32 and the user's language, served on the host
// from the very .res file that windres compiles from resources/uninst.rc.
#pragma once

#include "win32_types.h"

#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)


HRSRC FindResourceExA(HMODULE module, LPCSTR type, LPCSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
LANGID GetUserDefaultLangID(void);
