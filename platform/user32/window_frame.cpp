#include "user32/window_frame.h"

#include "user32/rect.h"

#include <algorithm>

namespace user32 {

Insets FrameInsets(DWORD style, DWORD exStyle) {
  LONG side = 0;
  if (style & (WS_DLGFRAME | WS_THICKFRAME))
    side = kFrameWidth;
  else if (style & WS_BORDER)
    side = kBorderWidth;
  if (exStyle & WS_EX_CLIENTEDGE)
    side += kClientEdgeWidth;
  if (exStyle & WS_EX_STATICEDGE)
    side += kBorderWidth;
  LONG caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
  return {side, side + caption, side, side};
}

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

RECT ClientRectOf(const Window& window) {
  Insets in = FrameInsets(window.style, window.exStyle);
  LONG width = std::max<LONG>(0, Width(window.rect) - in.left - in.right);
  LONG height = std::max<LONG>(0, Height(window.rect) - in.top - in.bottom);
  return {0, 0, width, height};
}

RECT ClientAreaInWindow(const Window& window) {
  Insets in = FrameInsets(window.style, window.exStyle);
  RECT client = ClientRectOf(window);
  OffsetRect(&client, in.left, in.top);
  return client;
}

POINT WindowOriginOnScreen(const WindowSystem& system, const Window& window) {
  POINT origin{window.rect.left, window.rect.top};
  if (auto parent = system.Find(window.parent)) {
    POINT base = ClientOriginOnScreen(system, *parent);
    origin.x += base.x;
    origin.y += base.y;
  }
  return origin;
}

POINT ClientOriginOnScreen(const WindowSystem& system, const Window& window) {
  POINT origin = WindowOriginOnScreen(system, window);
  Insets in = FrameInsets(window.style, window.exStyle);
  return {origin.x + in.left, origin.y + in.top};
}

RECT ScreenRectOf(const WindowSystem& system, const Window& window) {
  POINT origin = WindowOriginOnScreen(system, window);
  return {origin.x, origin.y, origin.x + Width(window.rect), origin.y + Height(window.rect)};
}

RECT ClientScreenRectOf(const WindowSystem& system, const Window& window) {
  RECT client = ClientRectOf(window);
  POINT origin = ClientOriginOnScreen(system, window);
  OffsetRect(&client, origin.x, origin.y);
  return client;
}

POINT ClientCornerInParent(const WindowSystem& system, const Window& window) {
  POINT corner = ClientOriginOnScreen(system, window);
  if (auto parent = system.Find(window.parent)) {
    POINT base = ClientOriginOnScreen(system, *parent);
    corner = {corner.x - base.x, corner.y - base.y};
  }
  return corner;
}

std::shared_ptr<Window> TopLevelOf(const WindowSystem& system, const std::shared_ptr<Window>& window) {
  std::shared_ptr<Window> at = window;
  while (at && at->parent) {
    auto parent = system.Find(at->parent);
    if (!parent)
      break;
    at = parent;
  }
  return at;
}

bool VisibleWithParents(const WindowSystem& system, const Window& window) {
  const Window* at = &window;
  std::shared_ptr<Window> hold;
  for (;;) {
    if (!(at->style & WS_VISIBLE))
      return false;
    if (!at->parent)
      return true;
    hold = system.Find(at->parent);
    if (!hold)
      return false;
    at = hold.get();
  }
}

bool ShowsOnScreen(const WindowSystem& system, const Window& window) {
  if (!VisibleWithParents(system, window))
    return false;
  const Window* at = &window;
  std::shared_ptr<Window> hold;
  while (at->parent) {
    hold = system.Find(at->parent);
    at = hold.get();
  }
  return !at->minimized;
}

bool EnabledWithParents(const WindowSystem& system, const Window& window) {
  const Window* at = &window;
  std::shared_ptr<Window> hold;
  for (;;) {
    if (at->style & WS_DISABLED)
      return false;
    if (!at->parent)
      return true;
    hold = system.Find(at->parent);
    if (!hold)
      return true;
    at = hold.get();
  }
}

bool IsSelfOrDescendant(const WindowSystem& system, HWND ancestor, HWND handle) {
  if (!ancestor || !handle)
    return false;
  for (auto at = system.Find(handle); at; at = system.Find(at->parent)) {
    if (at->handle == ancestor)
      return true;
  }
  return false;
}

RECT VisibleClientRect(const WindowSystem& system, const Window& window) {
  RECT visible = ClientRectOf(window);
  POINT origin = ClientOriginOnScreen(system, window);
  for (auto parent = system.Find(window.parent); parent; parent = system.Find(parent->parent)) {
    RECT area = ClientRectOf(*parent);
    POINT base = ClientOriginOnScreen(system, *parent);
    OffsetRect(&area, base.x - origin.x, base.y - origin.y);
    IntersectRect(&visible, &visible, &area);
  }
  return visible;
}

} // namespace user32
