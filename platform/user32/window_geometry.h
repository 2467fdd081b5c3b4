// Where windows are: outer and client rectangles, moving, z-order and
// coordinate mapping, and the screen's metrics.
//
// Classic fixed metrics: a window with a frame (WS_DLGFRAME, WS_THICKFRAME,
// so every captioned one) has 3 pixels of frame on each side, a caption
// (WS_CAPTION) adds 19 pixels at the top; WS_BORDER alone is 1 pixel;
// WS_EX_CLIENTEDGE adds 2 and WS_EX_STATICEDGE 1 on each side. The client
// area is what is left. A top-level window's rectangle is in screen
// coordinates, a child's in its parent's client coordinates.
#pragma once

#include "gdi32/geometry.h"
#include "user32/window.h"

inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<intptr_t>(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));
inline HWND const HWND_DESKTOP = nullptr;

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;

// Outer rectangle in screen coordinates.
PLATFORM_API BOOL GetWindowRect(HWND window, RECT* rect);
// Client rectangle: always at 0, 0.
PLATFORM_API BOOL GetClientRect(HWND window, RECT* rect);
// Sends WM_MOVE and WM_SIZE when the client area moved or changed size.
PLATFORM_API BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// `insertAfter` is a window or HWND_TOP, HWND_BOTTOM, HWND_TOPMOST,
// HWND_NOTOPMOST. Without SWP_NOACTIVATE a top-level window is activated.
PLATFORM_API BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                               UINT flags);
// From the client coordinates of `from` to those of `to` (null: the screen).
// Returns the horizontal offset in the low word and the vertical one in the
// high word.
PLATFORM_API int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
PLATFORM_API BOOL ClientToScreen(HWND window, POINT* point);
PLATFORM_API BOOL ScreenToClient(HWND window, POINT* point);
// The outer rectangle that gives the client rectangle `rect` (in place).
PLATFORM_API BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
// The deepest visible, enabled window under a screen point.
PLATFORM_API HWND WindowFromPoint(POINT point);
PLATFORM_API int GetSystemMetrics(int index);
