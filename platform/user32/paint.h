// Painting: invalid regions, WM_PAINT, device contexts of windows, system
// colours and the drawing calls that the controls are painted with.
//
// A window is invalid after InvalidateRect (or when it is shown, resized or
// exposed); invalidating a window invalidates the part of its children
// inside the rectangle too. GetMessageA hands out WM_PAINT for an invalid
// visible window of the thread only when nothing else is queued, parents
// before their children; BeginPaint validates. The update region is kept as
// one bounding rectangle.
#pragma once

#include "gdi32/dc.h"
#include "gdi32/geometry.h"
#include "user32/window.h"

// System colours.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;

// DrawTextA formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;

// DrawEdge rings and sides.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x0800;
constexpr UINT BF_ADJUST = 0x2000;

// DrawFrameControl.
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONRADIO = 0x0004;
constexpr UINT DFCS_BUTTON3STATE = 0x0008;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase; // the background still needs erasing (WM_ERASEBKGND gave 0)
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};

// A null window invalidates every top-level window; a null rectangle the
// whole client area.
PLATFORM_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
PLATFORM_API BOOL ValidateRect(HWND window, const RECT* rect);
PLATFORM_API BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
// Paints the window (and its children) now, with WM_PAINT sent on the owner
// thread, if they are invalid.
PLATFORM_API BOOL UpdateWindow(HWND window);
// Validates, sends WM_ERASEBKGND when the background is to be erased, and
// gives a DC clipped to the client area.
PLATFORM_API HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
PLATFORM_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// A DC on the client area (a null window: the screen, for measuring).
PLATFORM_API HDC GetDC(HWND window);
PLATFORM_API int ReleaseDC(HWND window, HDC dc);

PLATFORM_API DWORD GetSysColor(int index);
// A brush of the system colour that DeleteObject leaves alone.
PLATFORM_API HBRUSH GetSysColorBrush(int index);

// `brush` may be COLOR_x + 1 for a system colour.
PLATFORM_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Text in the rectangle with the DC's font and colours. Lines end at CR LF,
// LF or CR; DT_WORDBREAK wraps them at blanks and between two two-byte
// characters, breaking a word that does not fit on a line of its own. A
// "&" marks the next character as a mnemonic and is not drawn ("&&" draws
// one) unless DT_NOPREFIX. Returns the height of the text; DT_CALCRECT
// only measures, setting the rectangle's right and bottom.
PLATFORM_API int DrawTextA(HDC dc, LPCSTR text, int length, RECT* rect, UINT format);
PLATFORM_API BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags);
PLATFORM_API BOOL DrawFocusRect(HDC dc, const RECT* rect);
// DFC_BUTTON only: a check box, radio button or push button face.
PLATFORM_API BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state);
