// Windows: classes, creation and destruction, state, long values, text and
// the relations between windows.
//
// Every window belongs to the thread that created it: its window procedure
// runs only there. Calls that change a window from another thread (its
// text, enabled state, visibility, place) are carried out on the owner
// thread while the caller waits (see user32/message.h). A window handle is
// never reused while the process runs; once a window is destroyed its
// handle is simply unknown. Texts are code page 936 bytes.
#pragma once

#include "gdi32/gdi.h"
#include "user32/resource.h"
#include "win/types.h"

struct HMENU__;
using HMENU = HMENU__*;
using ATOM = WORD;
using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using WNDENUMPROC = BOOL (*)(HWND window, LPARAM data);

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

// Extended window styles.
constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_GLOBALCLASS = 0x4000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// GetWindowLongA / SetWindowLongA indexes. The values are pointer-sized
// (LONG_PTR), so GWL_WNDPROC holds a whole procedure address.
constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWLP_WNDPROC = GWL_WNDPROC;
constexpr int GWLP_HINSTANCE = GWL_HINSTANCE;
constexpr int GWLP_ID = GWL_ID;
constexpr int GWLP_USERDATA = GWL_USERDATA;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// Our own layout with the Windows fields. RegisterClassExA takes a cbSize
// of sizeof(WNDCLASSEXA) or 48, the size of the 32-bit layout that the
// system's code states.
struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground; // a brush, or COLOR_x + 1 for a system colour
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};

// What WM_NCCREATE and WM_CREATE carry in lParam.
struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};

inline LPCSTR MAKEINTATOM(ATOM atom) { return reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(atom)); }

// Class names are case-insensitive; a class name may also be an atom
// (MAKEINTATOM). Registering a name that exists fails (0). The system
// classes "Button", "Edit", "Static" and "ListBox" are always there.
PLATFORM_API ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
PLATFORM_API BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
PLATFORM_API BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* windowClass);
PLATFORM_API int GetClassNameA(HWND window, LPSTR buffer, int size);

// Creation sends WM_NCCREATE (0 fails the creation), WM_CREATE (-1 fails
// it), then WM_SIZE and WM_MOVE; WS_VISIBLE then shows the window as
// ShowWindow(SW_SHOW) does. A top-level window that is not WS_POPUP gets
// WS_CAPTION and WS_CLIPSIBLINGS. For a WS_CHILD window `menu` is its
// identifier and `parent` is required; for a top-level window `parent` is
// its owner, which takes it along when destroyed.
PLATFORM_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                                  int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                  LPVOID param);
// Only on the owner thread. Sends WM_DESTROY to the window, then to its
// children (each before its own children), then WM_NCDESTROY to the
// children and last to the window; afterwards the handle is unknown.
PLATFORM_API BOOL DestroyWindow(HWND window);
PLATFORM_API BOOL IsWindow(HWND window);
PLATFORM_API BOOL IsChild(HWND parent, HWND window);
// The id of the owner thread (GetCurrentThreadId's numbering); 0 for an
// unknown window. The process id is the calling process's.
PLATFORM_API DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);

// Returns whether the window was visible before.
PLATFORM_API BOOL ShowWindow(HWND window, int command);
// The window and all its parents have WS_VISIBLE (a minimised window counts).
PLATFORM_API BOOL IsWindowVisible(HWND window);
PLATFORM_API BOOL IsIconic(HWND window);
PLATFORM_API BOOL IsZoomed(HWND window);
// Sends WM_ENABLE when the state changes. Returns whether the window was
// disabled before.
PLATFORM_API BOOL EnableWindow(HWND window, BOOL enable);
PLATFORM_API BOOL IsWindowEnabled(HWND window);

PLATFORM_API LONG_PTR GetWindowLongA(HWND window, int index);
// Returns the previous value.
PLATFORM_API LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);
PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND window, int index);
PLATFORM_API LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);

// Through WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH, so they work from
// any thread and reach a control's own text handling.
PLATFORM_API BOOL SetWindowTextA(HWND window, LPCSTR text);
PLATFORM_API int GetWindowTextA(HWND window, LPSTR buffer, int size);
PLATFORM_API int GetWindowTextLengthA(HWND window);

// The parent of a child window, the owner of a WS_POPUP window, else null.
PLATFORM_API HWND GetParent(HWND window);
// The desktop: the parent of all top-level windows, as big as the screen.
PLATFORM_API HWND GetDesktopWindow();
// A top-level window by class (name or atom, null for any) and title
// (exact, null for any).
PLATFORM_API HWND FindWindowA(LPCSTR className, LPCSTR windowName);
// The direct child with that identifier.
PLATFORM_API HWND GetDlgItem(HWND parent, int id);
PLATFORM_API int GetDlgCtrlID(HWND window);
// Top-level windows from the top of the z-order, until `callback` gives FALSE.
PLATFORM_API BOOL EnumWindows(WNDENUMPROC callback, LPARAM data);
// Every descendant, each before its own children, until `callback` gives FALSE.
PLATFORM_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM data);
