// Code-page conversion of kernel32, served on the host by iconv with the
// Windows code page of the fake's ANSI code page.
#pragma once

#include "win32_types.h"

#define CP_ACP 0
#define CP_UTF8 65001

int WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int wide_count,
                        LPSTR out, int out_size, LPCSTR default_char, LPBOOL used_default);
int MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR narrow, int narrow_count, LPWSTR out,
                        int out_size);
