// Device contexts: where drawing goes, with the font, colours and
// background mode that text is drawn with.
//
// A DC is made by the window system (BeginPaint, GetDC) around a painter of
// the display (gdi32/painter.h) and is used on the thread that made it; the
// painter shows what was drawn when the DC is deleted. A fresh DC has the
// stock SYSTEM_FONT, WHITE_BRUSH and BLACK_PEN selected, black text on a
// white, opaque background.
#pragma once

#include "gdi32/gdi.h"

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// The object of the same kind that was selected before, or null when the DC
// or the object is unknown (bitmaps cannot be selected into a display DC).
PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// The previous values; CLR_INVALID or 0 for an unknown DC.
PLATFORM_API COLORREF SetTextColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetTextColor(HDC dc);
PLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF color);
PLATFORM_API COLORREF GetBkColor(HDC dc);
PLATFORM_API int SetBkMode(HDC dc, int mode);
PLATFORM_API int GetBkMode(HDC dc);
// Width of the text and height of a line in the selected font.
PLATFORM_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);
// One line of text with its top left corner at x, y.
PLATFORM_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
PLATFORM_API BOOL DeleteDC(HDC dc);
