// Rectangle arithmetic (gdi32/geometry.h has the types).
//
// An empty rectangle (right <= left or bottom <= top) contains no point;
// IntersectRect and UnionRect give all zeros for an empty result.
#pragma once

#include "gdi32/geometry.h"

PLATFORM_API BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
PLATFORM_API BOOL SetRectEmpty(RECT* rect);
PLATFORM_API BOOL CopyRect(RECT* to, const RECT* from);
PLATFORM_API BOOL IsRectEmpty(const RECT* rect);
PLATFORM_API BOOL EqualRect(const RECT* a, const RECT* b);
PLATFORM_API BOOL PtInRect(const RECT* rect, POINT point);
PLATFORM_API BOOL OffsetRect(RECT* rect, int dx, int dy);
PLATFORM_API BOOL InflateRect(RECT* rect, int dx, int dy);
// TRUE when the result is not empty.
PLATFORM_API BOOL IntersectRect(RECT* result, const RECT* a, const RECT* b);
PLATFORM_API BOOL UnionRect(RECT* result, const RECT* a, const RECT* b);
