// Outer and client rectangles, moving and z-order, coordinate mapping.
#include "user32/window_geometry.h"

#include "user32/message.h"
#include "user32/message_send.h"
#include "user32/paint_state.h"
#include "user32/rect.h"
#include "user32/window_frame.h"
#include "user32/window_ops.h"
#include "user32/window_system.h"

#include <algorithm>

using user32::System;
using user32::Window;
using user32::WindowSystem;

namespace {

void MoveInList(std::vector<HWND>& list, HWND handle, HWND insertAfter) {
  list.erase(std::remove(list.begin(), list.end(), handle), list.end());
  if (insertAfter == HWND_BOTTOM) {
    list.push_back(handle);
    return;
  }
  auto at = std::find(list.begin(), list.end(), insertAfter);
  list.insert(at == list.end() ? list.begin() : at + 1, handle);
}

// Top-level order: topmost windows ahead of the others.
void ReorderTopLevelLocked(WindowSystem& system, Window& window, HWND insertAfter) {
  if (insertAfter == HWND_TOPMOST)
    window.topmost = true;
  else if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM)
    window.topmost = false;
  auto& list = system.topLevels;
  list.erase(std::remove(list.begin(), list.end(), window.handle), list.end());
  if (insertAfter == HWND_BOTTOM) {
    list.push_back(window.handle);
    return;
  }
  auto at = list.begin();
  bool specific = insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST;
  if (specific) {
    auto after = std::find(list.begin(), list.end(), insertAfter);
    if (after != list.end()) {
      list.insert(after + 1, window.handle);
      return;
    }
  }
  if (!window.topmost) {
    while (at != list.end()) {
      auto other = system.Find(*at);
      if (!other || !other->topmost)
        break;
      ++at;
    }
  }
  list.insert(at, window.handle);
}

POINT ScreenOriginOf(HWND handle) {
  if (!handle)
    return {0, 0};
  std::lock_guard lock(System().mutex);
  if (handle == System().desktop)
    return {0, 0};
  auto window = System().Find(handle);
  return window ? user32::ClientOriginOnScreen(System(), *window) : POINT{0, 0};
}

bool Known(HWND handle) { return !handle || IsWindow(handle); }

} // namespace

namespace user32 {

BOOL SetWindowPosHere(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags,
                      bool fromDisplay) {
  WindowSystem& system = System();
  bool moved = false, sized = false, outerChanged = false, topmostChanged = false, topmost = false;
  bool activate = false, native = false, maximized = false;
  RECT outer{}, clientScreen{}, client{};
  POINT corner{};
  QueueList wake;
  std::shared_ptr<DisplayBackend> display;
  {
    std::lock_guard lock(system.mutex);
    auto window = system.Live(handle);
    if (!window || handle == system.desktop)
      return FALSE;
    RECT oldRect = window->rect;
    RECT oldClient = ClientRectOf(*window);
    POINT oldCorner = ClientCornerInParent(system, *window);
    RECT rect = oldRect;
    if (!(flags & SWP_NOMOVE))
      OffsetRect(&rect, x - rect.left, y - rect.top);
    if (!(flags & SWP_NOSIZE)) {
      rect.right = rect.left + std::max(0, width);
      rect.bottom = rect.top + std::max(0, height);
    }
    if (!(flags & SWP_NOZORDER)) {
      bool wasTopmost = window->topmost;
      if (window->parent) {
        if (auto parent = system.Find(window->parent))
          MoveInList(parent->children, handle, insertAfter == HWND_TOPMOST ? HWND_TOP : insertAfter);
      } else {
        ReorderTopLevelLocked(system, *window, insertAfter);
      }
      topmostChanged = wasTopmost != window->topmost;
      topmost = window->topmost;
    }
    window->rect = rect;
    client = ClientRectOf(*window);
    corner = ClientCornerInParent(system, *window);
    moved = corner.x != oldCorner.x || corner.y != oldCorner.y;
    sized = !EqualRect(&client, &oldClient);
    outerChanged = !EqualRect(&rect, &oldRect);
    if (outerChanged && !(flags & SWP_NOREDRAW)) {
      if (sized || window->parent)
        InvalidateLocked(system, *window, nullptr, true, wake);
      if (auto parent = system.Find(window->parent)) {
        RECT both{};
        UnionRect(&both, &oldRect, &rect);
        InvalidateLocked(system, *parent, &both, true, wake);
      }
    }
    native = window->native;
    maximized = window->maximized;
    outer = rect;
    clientScreen = ClientScreenRectOf(system, *window);
    activate = !(flags & SWP_NOACTIVATE) && !window->parent;
    display = system.display;
  }
  WakeAll(wake);
  if (native && outerChanged && !fromDisplay)
    display->MoveWindow(handle, outer, clientScreen);
  if (native && topmostChanged)
    display->SetTopmost(handle, topmost);
  if (flags & SWP_SHOWWINDOW)
    ShowWindowHere(handle, SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW)
    ShowWindowHere(handle, SW_HIDE);
  if (moved)
    SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(corner.x), static_cast<WORD>(corner.y)));
  if (sized)
    SendMessageA(handle, WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  if (activate && IsWindowVisible(handle) && IsWindowEnabled(handle) && !IsIconic(handle))
    Activate(handle, WA_ACTIVE);
  return TRUE;
}

} // namespace user32

namespace {

// The desktop is the screen, whose size only the display knows; the display
// is asked outside the window system's lock.
template <class RectOf> BOOL WindowRect(HWND handle, RECT* rect, RectOf rectOf) {
  if (!rect)
    return FALSE;
  {
    std::lock_guard lock(System().mutex);
    if (!handle || handle != System().desktop) {
      auto window = System().Find(handle);
      if (!window)
        return FALSE;
      *rect = rectOf(*window);
      return TRUE;
    }
  }
  SIZE screen = System().Display()->ScreenSize();
  *rect = {0, 0, screen.cx, screen.cy};
  return TRUE;
}

} // namespace

BOOL GetWindowRect(HWND handle, RECT* rect) {
  return WindowRect(handle, rect,
                    [](const Window& window) { return user32::ScreenRectOf(System(), window); });
}

BOOL GetClientRect(HWND handle, RECT* rect) {
  return WindowRect(handle, rect, [](const Window& window) { return user32::ClientRectOf(window); });
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
  return SetWindowPos(window, nullptr, x, y, width, height, flags);
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  return static_cast<BOOL>(user32::RunOnOwner(window, [=] {
    return user32::SetWindowPosHere(window, insertAfter, x, y, width, height, flags, false);
  }));
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  if (!Known(from) || !Known(to))
    return 0;
  POINT a = ScreenOriginOf(from);
  POINT b = ScreenOriginOf(to);
  LONG dx = a.x - b.x;
  LONG dy = a.y - b.y;
  for (UINT i = 0; points && i < count; i++) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL ClientToScreen(HWND window, POINT* point) {
  if (!point || !window || !IsWindow(window))
    return FALSE;
  MapWindowPoints(window, nullptr, point, 1);
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  if (!point || !window || !IsWindow(window))
    return FALSE;
  MapWindowPoints(nullptr, window, point, 1);
  return TRUE;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD exStyle) {
  if (!rect)
    return FALSE;
  user32::Insets in = user32::FrameInsets(style, exStyle);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

int GetSystemMetrics(int index) {
  switch (index) {
  case SM_CXSCREEN:
  case SM_CXFULLSCREEN:
  case SM_CXMAXIMIZED:
    return System().Display()->ScreenSize().cx;
  case SM_CYSCREEN:
  case SM_CYMAXIMIZED:
    return System().Display()->ScreenSize().cy;
  case SM_CYFULLSCREEN:
    return System().Display()->ScreenSize().cy - user32::kCaptionHeight;
  case SM_CXVSCROLL:
  case SM_CYHSCROLL:
    return 16;
  case SM_CYCAPTION:
    return user32::kCaptionHeight;
  case SM_CXBORDER:
  case SM_CYBORDER:
    return user32::kBorderWidth;
  case SM_CXDLGFRAME:
  case SM_CYDLGFRAME:
  case SM_CXFRAME:
  case SM_CYFRAME:
    return user32::kFrameWidth;
  case SM_CXICON:
  case SM_CYICON:
  case SM_CXCURSOR:
  case SM_CYCURSOR:
    return 32;
  case SM_CXMIN:
    return 112;
  case SM_CYMIN:
    return 27;
  case SM_CXDOUBLECLK:
  case SM_CYDOUBLECLK:
    return 4;
  case SM_CXEDGE:
  case SM_CYEDGE:
    return user32::kClientEdgeWidth;
  case SM_CXSMICON:
  case SM_CYSMICON:
    return 16;
  default:
    return 0;
  }
}
