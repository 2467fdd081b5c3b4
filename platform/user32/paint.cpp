#include "user32/paint.h"

#include "user32/message.h"
#include "user32/message_send.h"
#include "user32/paint_state.h"
#include "user32/rect.h"
#include "user32/window_frame.h"

#include <algorithm>

namespace user32 {

void InvalidateLocked(WindowSystem& system, Window& window, const RECT* rect, bool erase, QueueList& wake) {
  if (!window.queue || !VisibleWithParents(system, window))
    return;
  RECT client = ClientRectOf(window);
  RECT area = client;
  if (rect && !IntersectRect(&area, rect, &client))
    return;
  if (IsRectEmpty(&area))
    return;
  if (window.needsPaint)
    UnionRect(&window.update, &window.update, &area);
  else
    window.update = area;
  window.needsPaint = true;
  window.needsErase = window.needsErase || erase;
  wake.push_back(window.queue);
  for (HWND handle : window.children) {
    auto child = system.Find(handle);
    if (!child || !(child->style & WS_VISIBLE))
      continue;
    RECT inChild = area;
    RECT childClient = ClientAreaInWindow(*child);
    OffsetRect(&inChild, -(child->rect.left + childClient.left), -(child->rect.top + childClient.top));
    InvalidateLocked(system, *child, &inChild, erase, wake);
  }
}

void WakeAll(const QueueList& queues) {
  QueueList once;
  for (const auto& queue : queues) {
    if (std::find(once.begin(), once.end(), queue) == once.end())
      once.push_back(queue);
  }
  for (const auto& queue : once)
    queue->wake.Signal();
}

void Invalidate(HWND handle, const RECT* rect, bool erase) {
  QueueList wake;
  {
    std::lock_guard lock(System().mutex);
    if (auto window = System().Find(handle))
      InvalidateLocked(System(), *window, rect, erase, wake);
  }
  WakeAll(wake);
}

namespace {

HWND FindInTree(const WindowSystem& system, const Window& window, const ThreadQueue& queue,
                const MessageFilter& filter) {
  if (!(window.style & WS_VISIBLE))
    return nullptr;
  if (window.needsPaint && window.queue.get() == &queue && filter.TakesWindow(system, window.handle))
    return window.handle;
  for (HWND handle : window.children) {
    if (auto child = system.Find(handle)) {
      if (HWND found = FindInTree(system, *child, queue, filter))
        return found;
    }
  }
  return nullptr;
}

POINT Minus(POINT a, POINT b) { return {a.x - b.x, a.y - b.y}; }

void PaintChildFrame(DisplayBackend& display, const PaintTarget& target, const Window& window) {
  std::unique_ptr<Painter> painter = display.BeginPaint(target);
  RECT outer{0, 0, Width(window.rect), Height(window.rect)};
  if (window.style & WS_BORDER) {
    COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    painter->FillRect({outer.left, outer.top, outer.right, outer.top + 1}, frame);
    painter->FillRect({outer.left, outer.bottom - 1, outer.right, outer.bottom}, frame);
    painter->FillRect({outer.left, outer.top, outer.left + 1, outer.bottom}, frame);
    painter->FillRect({outer.right - 1, outer.top, outer.right, outer.bottom}, frame);
    InflateRect(&outer, -1, -1);
  }
  if (window.exStyle & WS_EX_CLIENTEDGE) {
    painter->DrawEdge(outer, EDGE_SUNKEN, BF_RECT);
    InflateRect(&outer, -kClientEdgeWidth, -kClientEdgeWidth);
  }
  if (window.exStyle & WS_EX_STATICEDGE)
    painter->DrawEdge(outer, BDR_SUNKENOUTER, BF_RECT);
}

bool HasChildFrame(const Window& window) {
  return window.parent &&
         ((window.style & WS_BORDER) || (window.exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
}

} // namespace

HWND FindWindowToPaintLocked(const WindowSystem& system, const ThreadQueue& queue,
                             const MessageFilter& filter) {
  if (!filter.TakesMessage(WM_PAINT))
    return nullptr;
  for (HWND handle : system.topLevels) {
    auto top = system.Find(handle);
    if (!top || top->minimized)
      continue;
    if (HWND found = FindInTree(system, *top, queue, filter))
      return found;
  }
  return nullptr;
}

bool AnyWindowToPaintLocked(const WindowSystem& system, const ThreadQueue& queue) {
  return FindWindowToPaintLocked(system, queue, MessageFilter{}) != nullptr;
}

PaintTarget ClientPaintTargetLocked(const WindowSystem& system, const Window& window, bool beginsPaint) {
  auto self = system.Find(window.handle);
  auto top = TopLevelOf(system, self);
  POINT topClient = ClientOriginOnScreen(system, *top);
  return PaintTarget{window.handle, top->handle, Minus(ClientOriginOnScreen(system, window), topClient),
                     VisibleClientRect(system, window), beginsPaint};
}

PaintTarget FramePaintTargetLocked(const WindowSystem& system, const Window& window) {
  auto self = system.Find(window.handle);
  auto top = TopLevelOf(system, self);
  POINT topClient = ClientOriginOnScreen(system, *top);
  RECT clip{0, 0, Width(window.rect), Height(window.rect)};
  if (auto parent = system.Find(window.parent)) {
    RECT parentArea = VisibleClientRect(system, *parent);
    OffsetRect(&parentArea, -window.rect.left, -window.rect.top);
    IntersectRect(&clip, &clip, &parentArea);
  }
  return PaintTarget{window.handle, top->handle, Minus(WindowOriginOnScreen(system, window), topClient), clip,
                     false};
}

} // namespace user32

using user32::System;

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
  user32::QueueList wake;
  {
    std::lock_guard lock(System().mutex);
    if (!handle) {
      for (HWND top : System().topLevels) {
        if (auto window = System().Find(top))
          user32::InvalidateLocked(System(), *window, nullptr, erase, wake);
      }
    } else {
      auto window = System().Find(handle);
      if (!window)
        return FALSE;
      user32::InvalidateLocked(System(), *window, rect, erase, wake);
    }
  }
  user32::WakeAll(wake);
  return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT* rect) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window)
    return FALSE;
  RECT covered{};
  if (!rect || (UnionRect(&covered, rect, &window->update) && EqualRect(&covered, rect))) {
    window->needsPaint = false;
    window->needsErase = false;
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND handle, RECT* rect, BOOL) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window)
    return FALSE;
  if (rect)
    *rect = window->needsPaint ? window->update : RECT{0, 0, 0, 0};
  return window->needsPaint ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND handle) {
  return static_cast<BOOL>(user32::RunOnOwner(handle, [handle]() -> LRESULT {
    std::vector<HWND> invalid;
    {
      std::lock_guard lock(System().mutex);
      auto window = System().Find(handle);
      if (!window)
        return FALSE;
      std::vector<std::shared_ptr<user32::Window>> pending{window};
      while (!pending.empty()) {
        auto at = pending.front();
        pending.erase(pending.begin());
        if (!(at->style & WS_VISIBLE))
          continue;
        if (at->needsPaint && user32::ShowsOnScreen(System(), *at))
          invalid.push_back(at->handle);
        for (HWND child : at->children) {
          if (auto c = System().Find(child))
            pending.push_back(c);
        }
      }
    }
    for (HWND window : invalid)
      SendMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
  }));
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
  if (!paint)
    return nullptr;
  PaintTarget target{};
  PaintTarget frameTarget{};
  bool frame = false;
  bool erase = false;
  RECT update{};
  std::shared_ptr<DisplayBackend> display;
  std::shared_ptr<user32::Window> window;
  {
    std::lock_guard lock(System().mutex);
    window = System().Find(handle);
    if (!window)
      return nullptr;
    update = window->needsPaint ? window->update : RECT{0, 0, 0, 0};
    erase = window->needsErase;
    window->needsPaint = false;
    window->needsErase = false;
    target = user32::ClientPaintTargetLocked(System(), *window, true);
    frame = user32::HasChildFrame(*window);
    if (frame)
      frameTarget = user32::FramePaintTargetLocked(System(), *window);
    display = System().display;
  }
  HDC dc = PlatformGdiCreatePainterDC(display->BeginPaint(target).release());
  if (frame)
    user32::PaintChildFrame(*display, frameTarget, *window);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = update;
  if (erase)
    paint->fErase = SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint)
    return FALSE;
  DeleteDC(paint->hdc);
  return TRUE;
}

HDC GetDC(HWND handle) {
  PaintTarget target{};
  std::shared_ptr<DisplayBackend> display;
  bool screen = !handle;
  {
    std::lock_guard lock(System().mutex);
    display = System().display;
    screen = screen || handle == System().desktop;
    if (!screen) {
      auto window = System().Find(handle);
      if (!window)
        return nullptr;
      target = user32::ClientPaintTargetLocked(System(), *window, false);
    }
  }
  if (screen) {
    SIZE screen = display->ScreenSize();
    target = PaintTarget{nullptr, nullptr, {0, 0}, {0, 0, screen.cx, screen.cy}, false};
  }
  return PlatformGdiCreatePainterDC(display->BeginPaint(target).release());
}

int ReleaseDC(HWND, HDC dc) { return DeleteDC(dc) ? 1 : 0; }
