// Window functions of user32 and comctl32: the program's own dialog, whose
// messages are delivered synchronously.
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

#define WM_DESTROY 0x0002
#define WM_CLOSE 0x0010
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_USER 0x0400
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)

#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_SYSMENU 0x00080000L
#define WS_GROUP 0x00020000L
#define DS_MODALFRAME 0x80L
#define DS_SETFONT 0x40L
#define DS_FIXEDSYS 0x0008L
#define SS_LEFT 0x0L
#define SS_RIGHT 0x2L
#define SS_TYPEMASK 0x1FL
#define WS_EX_RTLREADING 0x00002000L
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)

#define MB_OK 0x0L
#define MB_OKCANCEL 0x1L
#define MB_YESNO 0x4L
#define MB_ICONQUESTION 0x20L
#define MB_ICONWARNING 0x30L
#define MB_ICONEXCLAMATION 0x30L
#define MB_ICONINFORMATION 0x40L
#define MB_RIGHT 0x00080000L
#define MB_RTLREADING 0x00100000L
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

#define SW_HIDE 0
#define SW_SHOW 5
#define SW_SHOWDEFAULT 10
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define HWND_TOP ((HWND)0)

void InitCommonControls(void);
// comctl32 4.70 and later: Internet Explorer 3's update on 95 and NT 4.
struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
#define ICC_PROGRESS_CLASS 0x00000020
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
HWND CreateDialogParamA(HINSTANCE instance, LPCSTR template_name, HWND owner, DLGPROC proc,
                        LPARAM init_param);
BOOL DestroyWindow(HWND window);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
HWND GetDesktopWindow(void);
BOOL GetWindowRect(HWND window, LPRECT rect);
BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL ShowWindow(HWND window, int show);
BOOL IsWindowVisible(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR text, int size);
HWND GetDlgItem(HWND dialog, int id);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
