// Shell folders (shell32). SHGetSpecialFolderPathA came with a later shell
// than the first Windows 95 and NT 4 had; the program reaches it by
// GetProcAddress. Their shell has the folder's item-id list instead, which
// the shell's allocator frees.
#pragma once

#include "win32_types.h"

#define CSIDL_PROGRAMS 0x0002
#define CSIDL_COMMON_PROGRAMS 0x0017

typedef LONG HRESULT;
#define S_OK ((HRESULT)0)
#define E_FAIL ((HRESULT)0x80004005L)
#define SUCCEEDED(result) ((HRESULT)(result) >= 0)
#define FAILED(result) ((HRESULT)(result) < 0)

struct SHITEMID {
    WORD cb;
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;

// The shell's task allocator: the part of the interface the program uses.
struct IMalloc {
    virtual void Free(void* block) = 0;
    virtual ULONG Release() = 0;
};
typedef IMalloc* LPMALLOC;

BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create);
