// Focus, activation and capture, with the messages that go with them.
#include "user32/input.h"
#include "user32/message.h"
#include "user32/window_frame.h"
#include "user32/window_ops.h"
#include "user32/window_system.h"

using user32::System;

namespace user32 {

HWND Activate(HWND handle, WORD how) {
  HWND fresh;
  HWND old;
  bool native;
  bool mine;
  std::shared_ptr<DisplayBackend> display;
  auto self = CurrentQueue();
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window)
      return nullptr;
    auto top = TopLevelOf(System(), window);
    if (!top || top->destroying)
      return nullptr;
    fresh = top->handle;
    old = System().input.active;
    if (old == fresh)
      return old;
    System().input.active = fresh;
    native = top->native;
    mine = top->queue == self;
    display = System().display;
  }
  if (old && IsWindow(old)) {
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                 reinterpret_cast<LPARAM>(fresh));
    DropFocusInside(old);
  }
  if (native && mine)
    display->Activate(fresh);
  SendMessageA(fresh, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(fresh) ? 1 : 0), reinterpret_cast<LPARAM>(old));
  return old;
}

void ActivateNextTopLevel(const std::shared_ptr<ThreadQueue>& queue) {
  HWND next = nullptr;
  {
    std::lock_guard lock(System().mutex);
    if (System().input.active)
      return;
    for (HWND top : System().topLevels) {
      auto window = System().Find(top);
      if (window && window->queue == queue && !window->destroying && !window->minimized &&
          VisibleWithParents(System(), *window) && !(window->style & WS_DISABLED)) {
        next = top;
        break;
      }
    }
  }
  if (next)
    Activate(next, WA_ACTIVE);
}

void DropFocusInside(HWND handle) {
  HWND old;
  {
    std::lock_guard lock(System().mutex);
    old = System().input.focus;
    if (!IsSelfOrDescendant(System(), handle, old))
      return;
    System().input.focus = nullptr;
  }
  SendMessageA(old, WM_KILLFOCUS, 0, 0);
}

} // namespace user32

HWND SetFocus(HWND handle) {
  if (!handle) {
    HWND old;
    {
      std::lock_guard lock(System().mutex);
      old = std::exchange(System().input.focus, nullptr);
    }
    if (old)
      SendMessageA(old, WM_KILLFOCUS, 0, 0);
    return old;
  }
  HWND top;
  bool activate;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Live(handle);
    if (!window || !user32::EnabledWithParents(System(), *window))
      return nullptr;
    top = user32::TopLevelOf(System(), window)->handle;
    activate = System().input.active != top;
  }
  if (activate)
    user32::Activate(top, WA_ACTIVE);
  HWND old;
  {
    std::lock_guard lock(System().mutex);
    if (!System().Live(handle))
      return nullptr;
    old = System().input.focus;
    if (old == handle)
      return old;
    System().input.focus = handle;
  }
  if (old && IsWindow(old))
    SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
  if (GetFocus() == handle)
    SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HWND GetFocus() {
  std::lock_guard lock(System().mutex);
  return System().input.focus;
}

HWND SetActiveWindow(HWND handle) {
  if (handle)
    return user32::Activate(handle, WA_ACTIVE);
  HWND old;
  {
    std::lock_guard lock(System().mutex);
    old = std::exchange(System().input.active, nullptr);
  }
  if (old) {
    SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    user32::DropFocusInside(old);
  }
  return old;
}

HWND GetActiveWindow() {
  std::lock_guard lock(System().mutex);
  return System().input.active;
}

BOOL SetForegroundWindow(HWND handle) {
  if (!IsWindow(handle))
    return FALSE;
  user32::Activate(handle, WA_ACTIVE);
  return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND handle) {
  HWND old;
  {
    std::lock_guard lock(System().mutex);
    if (!System().Live(handle))
      return nullptr;
    old = std::exchange(System().input.capture, handle);
  }
  if (old && old != handle)
    SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(handle));
  return old;
}

BOOL ReleaseCapture() {
  HWND old;
  {
    std::lock_guard lock(System().mutex);
    old = std::exchange(System().input.capture, nullptr);
  }
  if (old)
    SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  std::lock_guard lock(System().mutex);
  return System().input.capture;
}

SHORT GetKeyState(int virtualKey) {
  std::lock_guard lock(System().mutex);
  BYTE state = System().input.keys[virtualKey & 0xFF];
  return static_cast<SHORT>(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) { return GetKeyState(virtualKey); }

BOOL GetCursorPos(POINT* point) {
  if (!point)
    return FALSE;
  std::lock_guard lock(System().mutex);
  *point = System().input.cursor;
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }

BOOL MessageBeep(UINT) {
  System().Display()->Beep();
  return TRUE;
}
