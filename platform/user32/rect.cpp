#include "user32/rect.h"

#include <algorithm>

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (!rect)
    return FALSE;
  *rect = {left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(RECT* rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(RECT* to, const RECT* from) {
  if (!to || !from)
    return FALSE;
  *to = *from;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || rect->right <= rect->left || rect->bottom <= rect->top; }

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
  if (!rect)
    return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy) {
  if (!rect)
    return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(RECT* result, const RECT* a, const RECT* b) {
  if (!result || !a || !b)
    return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  *result = IsRectEmpty(&r) ? RECT{0, 0, 0, 0} : r;
  return !IsRectEmpty(result);
}

BOOL UnionRect(RECT* result, const RECT* a, const RECT* b) {
  if (!result || !a || !b)
    return FALSE;
  if (IsRectEmpty(a)) {
    *result = IsRectEmpty(b) ? RECT{0, 0, 0, 0} : *b;
  } else if (IsRectEmpty(b)) {
    *result = *a;
  } else {
    *result = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
               std::max(a->bottom, b->bottom)};
  }
  return !IsRectEmpty(result);
}
