// Window types and constants of user32 and comctl32, and the calls left
// below the program's own seams: the desktop and the common controls.
#pragma once

#include "win32_types.h"

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
    LONG x;
    LONG y;
};

// A message of the thread's queue.
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

#define WM_NULL 0x0000
#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_USER 0x0400

#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_GROUP 0x00020000L
#define DS_MODALFRAME 0x80L
#define DS_SETFONT 0x40L
#define DS_FIXEDSYS 0x0008L
#define SS_LEFT 0x0L
#define SS_RIGHT 0x2L
#define SS_TYPEMASK 0x1FL
#define WS_EX_RTLREADING 0x00002000L

#define MB_OK 0x0L
#define MB_OKCANCEL 0x1L
#define MB_ICONQUESTION 0x20L
#define MB_ICONWARNING 0x30L
#define MB_ICONINFORMATION 0x40L
#define MB_RIGHT 0x00080000L
#define MB_RTLREADING 0x00100000L
#define IDOK 1
#define IDCANCEL 2

#define SW_SHOWDEFAULT 10

void InitCommonControls(void);
// comctl32 4.70 and later: Internet Explorer 3's update on 95 and NT 4.
struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
#define ICC_PROGRESS_CLASS 0x00000020
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
HWND GetDesktopWindow(void);
