// Points, sizes, rectangles and colours, in pixels, as every window and
// drawing call takes them.
//
// A RECT covers the pixels from left to right - 1 and from top to bottom - 1:
// its right and bottom edges lie just outside it, so its width is
// right - left.
#pragma once

#include "win/types.h"

struct POINT {
  LONG x;
  LONG y;
};

struct SIZE {
  LONG cx;
  LONG cy;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

// 0x00BBGGRR.
using COLORREF = DWORD;

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
         (static_cast<COLORREF>(blue) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
