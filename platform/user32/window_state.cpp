// Showing, hiding, minimising, maximising and enabling windows. The work
// runs on the owner thread, so the display hears of it there.
#include "user32/input.h"
#include "user32/message.h"
#include "user32/message_send.h"
#include "user32/paint_state.h"
#include "user32/window.h"
#include "user32/window_frame.h"
#include "user32/window_ops.h"
#include "user32/window_system.h"

using user32::System;

namespace {

LPARAM SizeParam(const RECT& client) {
  return MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom));
}

DisplayShow ShowStateLocked(const user32::Window& window) {
  if (!(window.style & WS_VISIBLE))
    return DisplayShow::Hidden;
  if (window.minimized)
    return DisplayShow::Minimized;
  return window.maximized ? DisplayShow::Maximized : DisplayShow::Normal;
}

void TellDisplay(HWND handle) {
  std::shared_ptr<DisplayBackend> display;
  DisplayShow show;
  RECT outer{}, client{};
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Find(handle);
    if (!window || !window->native)
      return;
    show = ShowStateLocked(*window);
    outer = window->rect;
    client = user32::ClientScreenRectOf(System(), *window);
    display = System().display;
  }
  display->MoveWindow(handle, outer, client);
  display->ShowWindow(handle, show);
}

void BecomeVisible(HWND handle) {
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window || (window->style & WS_VISIBLE))
      return;
  }
  SendMessageA(handle, WM_SHOWWINDOW, TRUE, 0);
  user32::QueueList wake;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window)
      return;
    window->style |= WS_VISIBLE;
    user32::InvalidateLocked(System(), *window, nullptr, true, wake);
  }
  user32::WakeAll(wake);
  TellDisplay(handle);
}

void Deactivate(HWND handle, bool minimized) {
  {
    std::lock_guard lock(System().mutex);
    if (System().input.active != handle)
      return;
    System().input.active = nullptr;
  }
  SendMessageA(handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimized ? 1 : 0), 0);
  user32::DropFocusInside(handle);
  user32::ActivateNextTopLevel(user32::CurrentQueue());
}

void Hide(HWND handle) {
  SendMessageA(handle, WM_SHOWWINDOW, FALSE, 0);
  HWND parent = nullptr;
  RECT area{};
  bool captureInside = false;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window)
      return;
    window->style &= ~WS_VISIBLE;
    parent = window->parent;
    area = window->rect;
    captureInside = user32::IsSelfOrDescendant(System(), handle, System().input.capture);
  }
  if (parent)
    user32::Invalidate(parent, &area, true);
  TellDisplay(handle);
  if (captureInside)
    ReleaseCapture();
  user32::DropFocusInside(handle);
  Deactivate(handle, false);
}

void Minimize(HWND handle) {
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window || window->minimized || window->parent)
      return;
    window->minimized = true;
  }
  TellDisplay(handle);
  SendMessageA(handle, WM_SIZE, SIZE_MINIMIZED, 0);
  Deactivate(handle, true);
}

void Restore(HWND handle) {
  RECT client{};
  bool moved = false;
  POINT corner{};
  user32::QueueList wake;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window || (!window->minimized && !window->maximized))
      return;
    if (window->maximized) {
      moved = window->rect.left != window->normalRect.left || window->rect.top != window->normalRect.top;
      window->rect = window->normalRect;
    }
    window->minimized = false;
    window->maximized = false;
    user32::InvalidateLocked(System(), *window, nullptr, true, wake);
    client = user32::ClientRectOf(*window);
    corner = user32::ClientCornerInParent(System(), *window);
  }
  user32::WakeAll(wake);
  TellDisplay(handle);
  if (moved)
    SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(corner.x), static_cast<WORD>(corner.y)));
  SendMessageA(handle, WM_SIZE, SIZE_RESTORED, SizeParam(client));
}

void Maximize(HWND handle) {
  SIZE screen = System().Display()->ScreenSize();
  RECT client{};
  POINT corner{};
  user32::QueueList wake;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window || window->maximized || window->parent)
      return;
    if (!window->minimized)
      window->normalRect = window->rect;
    window->minimized = false;
    window->maximized = true;
    window->rect = {0, 0, screen.cx, screen.cy};
    user32::InvalidateLocked(System(), *window, nullptr, true, wake);
    client = user32::ClientRectOf(*window);
    corner = user32::ClientCornerInParent(System(), *window);
  }
  user32::WakeAll(wake);
  TellDisplay(handle);
  SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(corner.x), static_cast<WORD>(corner.y)));
  SendMessageA(handle, WM_SIZE, SIZE_MAXIMIZED, SizeParam(client));
}

bool Activates(int command) {
  switch (command) {
  case SW_SHOWNORMAL:
  case SW_SHOWMAXIMIZED:
  case SW_SHOW:
  case SW_RESTORE:
  case SW_SHOWDEFAULT:
    return true;
  default:
    return false;
  }
}

} // namespace

namespace user32 {

BOOL ShowWindowHere(HWND handle, int command) {
  bool wasVisible;
  bool topLevel;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window || handle == System().desktop)
      return FALSE;
    wasVisible = (window->style & WS_VISIBLE) != 0;
    topLevel = window->parent == nullptr;
  }
  switch (command) {
  case SW_HIDE:
    if (wasVisible)
      Hide(handle);
    return wasVisible;
  case SW_SHOWMINIMIZED:
  case SW_MINIMIZE:
  case SW_SHOWMINNOACTIVE:
    BecomeVisible(handle);
    Minimize(handle);
    return wasVisible;
  case SW_SHOWMAXIMIZED:
    BecomeVisible(handle);
    Maximize(handle);
    break;
  case SW_SHOWNORMAL:
  case SW_RESTORE:
  case SW_SHOWNOACTIVATE:
  case SW_SHOWDEFAULT:
    BecomeVisible(handle);
    Restore(handle);
    break;
  default:
    BecomeVisible(handle);
    break;
  }
  if (topLevel && Activates(command) && IsWindowEnabled(handle) && !IsIconic(handle))
    Activate(handle, WA_ACTIVE);
  return wasVisible;
}

} // namespace user32

BOOL ShowWindow(HWND window, int command) {
  return static_cast<BOOL>(
      user32::RunOnOwner(window, [=] { return user32::ShowWindowHere(window, command); }));
}

BOOL EnableWindow(HWND handle, BOOL enable) {
  return static_cast<BOOL>(user32::RunOnOwner(handle, [=]() -> LRESULT {
    bool wasDisabled;
    bool captureInside;
    {
      std::lock_guard lock(System().mutex);
      auto window = System().Find(handle);
      if (!window)
        return FALSE;
      wasDisabled = (window->style & WS_DISABLED) != 0;
      if (wasDisabled == !enable)
        return wasDisabled;
      if (enable)
        window->style &= ~WS_DISABLED;
      else
        window->style |= WS_DISABLED;
      captureInside = user32::IsSelfOrDescendant(System(), handle, System().input.capture);
    }
    if (!enable) {
      user32::DropFocusInside(handle);
      if (captureInside)
        ReleaseCapture();
    }
    SendMessageA(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
  }));
}
