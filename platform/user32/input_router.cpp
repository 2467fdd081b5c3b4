// Raw input becomes messages here: hit testing, capture and the implicit
// grab of a held button, double clicks, key states, and the rule that a
// disabled window and everything inside it takes no input.
#include "user32/input_router.h"

#include "user32/controls.h"
#include "user32/input.h"
#include "user32/message.h"
#include "user32/message_loop.h"
#include "user32/paint_state.h"
#include "user32/rect.h"
#include "user32/window_frame.h"
#include "user32/window_geometry.h"
#include "user32/window_ops.h"
#include "user32/window_system.h"

#include <cstdlib>

namespace user32 {
namespace {

constexpr DWORD kDoubleClickTime = 500;
constexpr LONG kDoubleClickDistance = 2;

bool IsMouse(int kind) {
  return kind == PLATFORM_RAW_MOUSE_MOVE || kind == PLATFORM_RAW_BUTTON_DOWN ||
         kind == PLATFORM_RAW_BUTTON_UP || kind == PLATFORM_RAW_WHEEL;
}

bool IsKeyboard(int kind) {
  return kind == PLATFORM_RAW_KEY_DOWN || kind == PLATFORM_RAW_KEY_UP || kind == PLATFORM_RAW_TEXT;
}

// A Static without SS_NOTIFY lets the mouse through to what lies beneath.
bool IsTransparentLocked(const Window& window) {
  return window.windowClass && window.windowClass->system && window.windowClass->key == "static" &&
         !(window.style & SS_NOTIFY);
}

std::shared_ptr<Window> DescendLocked(const WindowSystem& system, const std::shared_ptr<Window>& window,
                                      POINT point) {
  for (HWND handle : window->children) {
    auto child = system.Find(handle);
    if (!child || !(child->style & WS_VISIBLE) || (child->style & WS_DISABLED) || IsTransparentLocked(*child))
      continue;
    RECT outer = ScreenRectOf(system, *child);
    if (!PtInRect(&outer, point))
      continue;
    RECT client = ClientScreenRectOf(system, *child);
    return PtInRect(&client, point) ? DescendLocked(system, child, point) : child;
  }
  return window;
}

struct Hit {
  std::shared_ptr<Window> window;
  bool client = false;
};

Hit HitTestLocked(const WindowSystem& system, POINT point) {
  for (HWND handle : system.topLevels) {
    auto top = system.Find(handle);
    if (!top || !(top->style & WS_VISIBLE) || top->minimized)
      continue;
    RECT outer = ScreenRectOf(system, *top);
    if (!PtInRect(&outer, point))
      continue;
    RECT client = ClientScreenRectOf(system, *top);
    if (!PtInRect(&client, point))
      return {top, false};
    return {DescendLocked(system, top, point), true};
  }
  return {};
}

HWND KeyTargetLocked(const WindowSystem& system) {
  return system.input.focus ? system.input.focus : system.input.active;
}

void QueueInput(const std::shared_ptr<ThreadQueue>& queue, const MSG& message) {
  {
    std::lock_guard lock(System().mutex);
    if (!queue->alive)
      return;
    queue->input.push_back(message);
  }
  queue->wake.Signal();
}

int ButtonBit(int button) { return 1 << (button & 3); }

UINT ButtonMessage(int button, bool down, bool doubleClick) {
  static constexpr UINT kDown[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
  static constexpr UINT kUp[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
  static constexpr UINT kDouble[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
  int i = button >= 0 && button <= 2 ? button : 0;
  return down ? (doubleClick ? kDouble[i] : kDown[i]) : kUp[i];
}

WPARAM MouseKeysLocked(const InputState& input) {
  WPARAM keys = 0;
  if (input.buttons & ButtonBit(PLATFORM_BUTTON_LEFT))
    keys |= MK_LBUTTON;
  if (input.buttons & ButtonBit(PLATFORM_BUTTON_RIGHT))
    keys |= MK_RBUTTON;
  if (input.buttons & ButtonBit(PLATFORM_BUTTON_MIDDLE))
    keys |= MK_MBUTTON;
  if (input.keys[VK_SHIFT] & 0x80)
    keys |= MK_SHIFT;
  if (input.keys[VK_CONTROL] & 0x80)
    keys |= MK_CONTROL;
  return keys;
}

bool IsDoubleClickLocked(InputState& input, const Window& target, int button, DWORD time, POINT point) {
  InputState::Click& last = input.lastClick;
  bool again = last.window == target.handle && last.button == button &&
               time - last.time <= kDoubleClickTime &&
               std::labs(point.x - last.point.x) <= kDoubleClickDistance &&
               std::labs(point.y - last.point.y) <= kDoubleClickDistance;
  if (again && (target.windowClass->style & CS_DBLCLKS)) {
    last = InputState::Click{};
    return true;
  }
  last = InputState::Click{target.handle, button, time, point};
  return false;
}

void ConvertMouse(const PlatformRawInput& raw) {
  WindowSystem& system = System();
  MSG message{};
  std::shared_ptr<ThreadQueue> queue;
  HWND activate = nullptr;
  {
    std::lock_guard lock(system.mutex);
    InputState& input = system.input;
    POINT point = raw.point;
    input.cursor = point;
    bool down = raw.kind == PLATFORM_RAW_BUTTON_DOWN;
    bool up = raw.kind == PLATFORM_RAW_BUTTON_UP;
    if (down)
      input.buttons |= ButtonBit(raw.button);
    if (up)
      input.buttons &= ~ButtonBit(raw.button);

    Hit hit;
    if (auto held = system.Find(input.capture ? input.capture : input.grab))
      hit = {held, true};
    else
      hit = HitTestLocked(system, point);
    if (up && input.buttons == 0)
      input.grab = nullptr;
    if (!hit.window || !hit.window->queue || !EnabledWithParents(system, *hit.window))
      return;
    auto top = TopLevelOf(system, hit.window);
    if (down && top && top->handle != input.active)
      activate = top->handle;
    // A press on the frame or caption only activates.
    if (hit.client) {
      if (down && !input.capture && !input.grab)
        input.grab = hit.window->handle;
      POINT origin = ClientOriginOnScreen(system, *hit.window);
      LPARAM at = MAKELPARAM(static_cast<WORD>(point.x - origin.x), static_cast<WORD>(point.y - origin.y));
      WPARAM keys = MouseKeysLocked(input);
      UINT kind = WM_MOUSEMOVE;
      if (raw.kind == PLATFORM_RAW_WHEEL) {
        kind = WM_MOUSEWHEEL;
        keys = MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(static_cast<int16_t>(raw.wheelDelta)));
        at = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
      } else if (down || up) {
        bool twice = down && IsDoubleClickLocked(input, *hit.window, raw.button, raw.time, point);
        kind = ButtonMessage(raw.button, down, twice);
      }
      message = MSG{hit.window->handle, kind, keys, at, raw.time, point};
      queue = hit.window->queue;
    }
  }
  if (activate)
    Activate(activate, WA_CLICKACTIVE);
  if (queue)
    QueueInput(queue, message);
}

BYTE& KeySlot(InputState& input, UINT vk) { return input.keys[vk & 0xFF]; }

UINT GenericKey(UINT vk) {
  switch (vk) {
  case VK_LSHIFT:
  case VK_RSHIFT:
    return VK_SHIFT;
  case VK_LCONTROL:
  case VK_RCONTROL:
    return VK_CONTROL;
  case VK_LMENU:
  case VK_RMENU:
    return VK_MENU;
  default:
    return vk;
  }
}

void SetKeyLocked(InputState& input, UINT vk, bool down) {
  BYTE& slot = KeySlot(input, vk);
  if (down && !(slot & 0x80))
    slot ^= 0x01;
  slot = static_cast<BYTE>(down ? (slot | 0x80) : (slot & ~0x80));
}

void ConvertKeyboard(const PlatformRawInput& raw) {
  WindowSystem& system = System();
  std::vector<MSG> messages;
  std::shared_ptr<ThreadQueue> queue;
  {
    std::lock_guard lock(system.mutex);
    InputState& input = system.input;
    UINT vk = GenericKey(raw.vk);
    bool down = raw.kind == PLATFORM_RAW_KEY_DOWN;
    bool wasDown = (KeySlot(input, vk) & 0x80) != 0;
    if (raw.kind != PLATFORM_RAW_TEXT) {
      SetKeyLocked(input, vk, down);
      if (vk != raw.vk)
        SetKeyLocked(input, raw.vk, down);
    }
    auto target = system.Live(KeyTargetLocked(system));
    if (!target || !target->queue || !EnabledWithParents(system, *target))
      return;
    queue = target->queue;
    if (raw.kind == PLATFORM_RAW_TEXT) {
      for (const char* at = raw.text; *at && at < raw.text + sizeof raw.text; at++)
        messages.push_back(MSG{target->handle, WM_CHAR, static_cast<BYTE>(*at), 1, raw.time, input.cursor});
    } else {
      bool alt = (input.keys[VK_MENU] & 0x80) && !(input.keys[VK_CONTROL] & 0x80);
      bool system_key = alt || vk == VK_MENU || vk == VK_F10;
      UINT kind = down ? (system_key ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system_key ? WM_SYSKEYUP : WM_KEYUP);
      LPARAM flags = 1;
      if (alt)
        flags |= LPARAM{1} << 29;
      if (wasDown || !down)
        flags |= LPARAM{1} << 30;
      if (!down)
        flags |= LPARAM{1} << 31;
      messages.push_back(MSG{target->handle, kind, vk, flags, raw.time, input.cursor});
    }
  }
  for (const MSG& message : messages)
    QueueInput(queue, message);
}

void ConvertWindowEvent(const PlatformRawInput& raw) {
  WindowSystem& system = System();
  if (raw.kind == PLATFORM_RAW_EXPOSE) {
    Invalidate(raw.window, &raw.rect, true);
    return;
  }
  if (raw.kind == PLATFORM_RAW_MOVED) {
    SetWindowPosHere(raw.window, nullptr, raw.rect.left, raw.rect.top, raw.rect.right - raw.rect.left,
                     raw.rect.bottom - raw.rect.top, SWP_NOZORDER | SWP_NOACTIVATE, true);
    return;
  }
  MSG message{};
  std::shared_ptr<ThreadQueue> queue;
  {
    std::lock_guard lock(system.mutex);
    auto window = system.Live(raw.window);
    // The close box of a disabled window does nothing.
    if (!window || !window->queue || (window->style & WS_DISABLED))
      return;
    WPARAM command = raw.kind == PLATFORM_RAW_CLOSE      ? SC_CLOSE
                     : raw.kind == PLATFORM_RAW_MINIMIZE ? SC_MINIMIZE
                                                         : SC_RESTORE;
    POINT at = system.input.cursor;
    message = MSG{window->handle, WM_SYSCOMMAND,
                  command,        MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)),
                  raw.time,       at};
    queue = window->queue;
  }
  QueueInput(queue, message);
}

void ConvertOne(const PlatformRawInput& raw) {
  if (IsMouse(raw.kind))
    ConvertMouse(raw);
  else if (IsKeyboard(raw.kind))
    ConvertKeyboard(raw);
  else
    ConvertWindowEvent(raw);
}

} // namespace

BOOL DeliverRawInput(const PlatformRawInput& input) {
  PlatformRawInput raw = input;
  if (raw.time == 0)
    raw.time = MessageClock();
  WindowSystem& system = System();
  std::shared_ptr<ThreadQueue> queue;
  {
    std::lock_guard lock(system.mutex);
    HWND target = raw.window;
    if (IsMouse(raw.kind)) {
      if (auto window = system.Find(raw.window)) {
        POINT corner = WindowOriginOnScreen(system, *window);
        raw.point = {raw.point.x + corner.x, raw.point.y + corner.y};
      }
      raw.window = nullptr;
      target = system.input.capture ? system.input.capture : system.input.grab;
      if (!target) {
        Hit hit = HitTestLocked(system, raw.point);
        target = hit.window ? hit.window->handle : nullptr;
      }
    } else if (IsKeyboard(raw.kind)) {
      target = KeyTargetLocked(system);
    }
    auto window = system.Find(target);
    if (window && window->queue)
      queue = window->queue;
    else if (IsMouse(raw.kind))
      queue = system.displayQueue; // still counts for the held buttons there
    if (!queue || !queue->alive)
      return FALSE;
    queue->raw.push_back(raw);
  }
  queue->wake.Signal();
  return TRUE;
}

void ConvertRawInput(ThreadQueue& queue) {
  for (;;) {
    PlatformRawInput raw;
    {
      std::lock_guard lock(System().mutex);
      if (!queue.input.empty() || queue.raw.empty())
        return;
      raw = queue.raw.front();
      queue.raw.pop_front();
    }
    ConvertOne(raw);
  }
}

} // namespace user32

BOOL PlatformDeliverRawInput(const PlatformRawInput* input) {
  return input ? user32::DeliverRawInput(*input) : FALSE;
}

HWND WindowFromPoint(POINT point) {
  std::lock_guard lock(user32::System().mutex);
  user32::Hit hit = user32::HitTestLocked(user32::System(), point);
  return hit.window ? hit.window->handle : nullptr;
}
