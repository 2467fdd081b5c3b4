// Classes, creation and destruction, long values, text and relations.
#include "user32/window.h"

#include "user32/input.h"
#include "user32/message.h"
#include "user32/message_send.h"
#include "user32/paint_state.h"
#include "user32/window_frame.h"
#include "user32/window_geometry.h"
#include "user32/window_ops.h"
#include "user32/window_system.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <functional>

using user32::System;
using user32::Window;
using user32::WindowSystem;

namespace {

constexpr UINT kLegacyClassSize = 48;

void InsertTopLevelLocked(WindowSystem& system, const Window& window) {
  auto& list = system.topLevels;
  auto at = list.begin();
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

DisplayWindow DisplayInfoLocked(const WindowSystem& system, const Window& window, const char* title) {
  return DisplayWindow{window.handle,
                       window.rect,
                       user32::ClientScreenRectOf(system, window),
                       title,
                       window.style,
                       window.exStyle,
                       window.windowClass->icon,
                       window.topmost};
}

LPARAM PointParam(POINT point) { return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)); }

// A creation that WM_NCCREATE refused: the window goes without WM_DESTROY.
void AbandonCreation(HWND handle) {
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  bool native = false;
  std::shared_ptr<DisplayBackend> display;
  {
    std::lock_guard lock(System().mutex);
    if (auto window = System().Find(handle)) {
      native = window->native;
      user32::UnlinkWindowLocked(System(), *window);
    }
    display = System().display;
  }
  if (native)
    display->DestroyWindow(handle);
}

void SendDestroy(HWND handle) {
  SendMessageA(handle, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  {
    std::lock_guard lock(System().mutex);
    if (auto window = System().Find(handle))
      children = window->children;
  }
  for (HWND child : children)
    SendDestroy(child);
}

void SendNcDestroy(HWND handle, DisplayBackend& display) {
  std::vector<HWND> children;
  {
    std::lock_guard lock(System().mutex);
    if (auto window = System().Find(handle))
      children = window->children;
  }
  for (HWND child : children)
    SendNcDestroy(child, display);
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  bool native = false;
  {
    std::lock_guard lock(System().mutex);
    if (auto window = System().Find(handle)) {
      native = window->native;
      user32::UnlinkWindowLocked(System(), *window);
    }
  }
  if (native)
    display.DestroyWindow(handle);
}

void MarkDestroyingLocked(WindowSystem& system, Window& window) {
  window.destroying = true;
  for (HWND child : window.children) {
    if (auto c = system.Find(child))
      MarkDestroyingLocked(system, *c);
  }
}

void CollectDescendantsLocked(const WindowSystem& system, const Window& window, std::vector<HWND>& out) {
  for (HWND child : window.children) {
    if (auto c = system.Find(child)) {
      out.push_back(child);
      CollectDescendantsLocked(system, *c, out);
    }
  }
}

LONG_PTR* LongSlot(Window& window, int index) {
  switch (index) {
  case GWL_ID:
    return &window.id;
  case GWL_USERDATA:
    return &window.userData;
  default:
    return nullptr;
  }
}

} // namespace

ATOM RegisterClassExA(const WNDCLASSEXA* c) {
  if (!c || (c->cbSize != sizeof(WNDCLASSEXA) && c->cbSize != kLegacyClassSize) || !c->lpfnWndProc ||
      !c->lpszClassName || IS_INTRESOURCE(c->lpszClassName) || c->cbClsExtra < 0 || c->cbWndExtra < 0)
    return 0;
  user32::WindowClass windowClass;
  windowClass.name = c->lpszClassName;
  windowClass.style = c->style;
  windowClass.proc = c->lpfnWndProc;
  windowClass.classExtra = c->cbClsExtra;
  windowClass.windowExtra = c->cbWndExtra;
  windowClass.instance = c->hInstance;
  windowClass.icon = c->hIcon;
  windowClass.smallIcon = c->hIconSm;
  windowClass.cursor = c->hCursor;
  windowClass.background = c->hbrBackground;
  if (c->lpszMenuName && !IS_INTRESOURCE(c->lpszMenuName))
    windowClass.menuName = c->lpszMenuName;
  std::lock_guard lock(System().mutex);
  return System().classes.Add(std::move(windowClass));
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  std::lock_guard lock(System().mutex);
  return System().classes.Remove(className) ? TRUE : FALSE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* out) {
  if (!out)
    return FALSE;
  std::lock_guard lock(System().mutex);
  auto c = System().classes.Find(className);
  if (!c)
    return FALSE;
  // The names point into the registered class, which lives on while it is
  // registered.
  *out = WNDCLASSEXA{sizeof(WNDCLASSEXA), c->style,    c->proc,   c->classExtra, c->windowExtra,
                     c->instance,         c->icon,     c->cursor, c->background, c->menuName.c_str(),
                     c->name.c_str(),     c->smallIcon};
  return TRUE;
}

int GetClassNameA(HWND handle, LPSTR buffer, int size) {
  if (!buffer || size <= 0)
    return 0;
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window || !window->windowClass)
    return 0;
  const std::string& name = window->windowClass->name;
  size_t copied = std::min(name.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, name.data(), copied);
  buffer[copied] = '\0';
  return static_cast<int>(copied);
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto self = user32::CurrentQueue();
  WindowSystem& system = System();
  SIZE screen = system.Display()->ScreenSize();
  const bool child = (style & WS_CHILD) != 0;
  const DWORD requested = style;
  if (!child && !(style & WS_POPUP))
    style |= WS_CAPTION | WS_CLIPSIBLINGS;
  if (x == CW_USEDEFAULT)
    x = y = 0;
  if (width == CW_USEDEFAULT) {
    width = screen.cx * 3 / 4;
    height = screen.cy * 3 / 4;
  }
  HWND handle;
  DisplayWindow info{};
  bool native = false;
  {
    std::lock_guard lock(system.mutex);
    auto windowClass = system.classes.Find(className);
    if (!windowClass)
      return nullptr;
    std::shared_ptr<Window> parentWindow;
    if (parent && parent != system.desktop) {
      parentWindow = system.Live(parent);
      if (!parentWindow)
        return nullptr;
    } else if (child) {
      return nullptr;
    }
    auto window = std::make_shared<Window>();
    window->windowClass = windowClass;
    window->queue = self;
    window->proc = windowClass->proc;
    window->instance = instance;
    window->style = style & ~WS_VISIBLE;
    window->exStyle = exStyle;
    window->rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
    window->topmost = !child && (exStyle & WS_EX_TOPMOST);
    window->extra.assign(static_cast<size_t>(windowClass->windowExtra), 0);
    if (child) {
      window->parent = parent;
      window->id = reinterpret_cast<LONG_PTR>(menu);
    } else {
      window->owner = parentWindow ? parent : nullptr;
      window->native = true;
    }
    handle = system.windows.Add(window);
    if (child) {
      parentWindow->children.push_back(handle);
    } else {
      InsertTopLevelLocked(system, *window);
      if (!system.displayQueue)
        system.displayQueue = self;
      info = DisplayInfoLocked(system, *window, windowName ? windowName : "");
      native = true;
    }
  }
  if (native)
    system.Display()->CreateWindow(info);

  CREATESTRUCTA create{
      param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(requested),
      windowName, className, exStyle};
  if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    AbandonCreation(handle);
    return nullptr;
  }
  if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  RECT client{};
  POINT corner{};
  {
    std::lock_guard lock(system.mutex);
    auto window = system.Live(handle);
    if (!window)
      return nullptr;
    client = user32::ClientRectOf(*window);
    corner = user32::ClientCornerInParent(system, *window);
  }
  SendMessageA(handle, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  SendMessageA(handle, WM_MOVE, 0, PointParam(corner));
  if (requested & WS_VISIBLE)
    ShowWindow(handle, SW_SHOW);
  return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle) {
  auto self = user32::CurrentQueue();
  WindowSystem& system = System();
  std::vector<HWND> owned;
  {
    std::lock_guard lock(system.mutex);
    auto window = system.Live(handle);
    if (!window || handle == system.desktop || window->queue != self)
      return FALSE;
    for (HWND top : system.topLevels) {
      if (auto other = system.Find(top); other && other->owner == handle)
        owned.push_back(top);
    }
  }
  for (HWND window : owned)
    DestroyWindow(window);

  bool releaseCapture = false;
  bool wasActive = false;
  bool wasShown = false;
  bool native = false;
  HWND parent = nullptr;
  RECT area{};
  std::shared_ptr<DisplayBackend> display;
  {
    std::lock_guard lock(system.mutex);
    auto window = system.Live(handle);
    if (!window)
      return FALSE;
    MarkDestroyingLocked(system, *window);
    releaseCapture = user32::IsSelfOrDescendant(system, handle, system.input.capture);
    wasActive = system.input.active == handle;
    wasShown = user32::VisibleWithParents(system, *window);
    native = window->native;
    parent = window->parent;
    area = window->rect;
    display = system.display;
  }
  if (releaseCapture)
    ReleaseCapture();
  user32::DropFocusInside(handle);
  if (wasActive) {
    {
      std::lock_guard lock(system.mutex);
      system.input.active = nullptr;
    }
    SendMessageA(handle, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
  }
  if (native && wasShown)
    display->ShowWindow(handle, DisplayShow::Hidden);
  if (parent && wasShown)
    user32::Invalidate(parent, &area, true);

  SendDestroy(handle);
  SendNcDestroy(handle, *display);
  if (wasActive)
    user32::ActivateNextTopLevel(self);
  return TRUE;
}

BOOL IsWindow(HWND handle) {
  std::lock_guard lock(System().mutex);
  return System().Find(handle) ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && window->parent && user32::IsSelfOrDescendant(System(), parent, window->parent) ? TRUE
                                                                                                  : FALSE;
}

DWORD GetWindowThreadProcessId(HWND handle, DWORD* processId) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window || !window->queue)
    return 0;
  if (processId)
    *processId = static_cast<DWORD>(getpid());
  return window->queue->threadId;
}

BOOL IsWindowVisible(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && user32::VisibleWithParents(System(), *window) ? TRUE : FALSE;
}

BOOL IsIconic(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && window->minimized ? TRUE : FALSE;
}

BOOL IsZoomed(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && window->maximized ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && !(window->style & WS_DISABLED) ? TRUE : FALSE;
}

LONG_PTR GetWindowLongA(HWND handle, int index) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window)
    return 0;
  switch (index) {
  case GWL_WNDPROC:
    return reinterpret_cast<LONG_PTR>(window->proc);
  case GWL_HINSTANCE:
    return reinterpret_cast<LONG_PTR>(window->instance);
  case GWL_HWNDPARENT:
    return reinterpret_cast<LONG_PTR>(window->parent ? window->parent : window->owner);
  case GWL_STYLE:
    return static_cast<LONG_PTR>(window->style);
  case GWL_EXSTYLE:
    return static_cast<LONG_PTR>(window->exStyle);
  }
  if (LONG_PTR* slot = LongSlot(*window, index))
    return *slot;
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= window->extra.size()) {
    LONG_PTR value;
    std::memcpy(&value, window->extra.data() + index, sizeof value);
    return value;
  }
  return 0;
}

LONG_PTR SetWindowLongA(HWND handle, int index, LONG_PTR value) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window)
    return 0;
  switch (index) {
  case GWL_WNDPROC:
    return reinterpret_cast<LONG_PTR>(std::exchange(window->proc, reinterpret_cast<WNDPROC>(value)));
  case GWL_HINSTANCE:
    return reinterpret_cast<LONG_PTR>(std::exchange(window->instance, reinterpret_cast<HINSTANCE>(value)));
  case GWL_STYLE:
    return static_cast<LONG_PTR>(std::exchange(window->style, static_cast<DWORD>(value)));
  case GWL_EXSTYLE:
    return static_cast<LONG_PTR>(std::exchange(window->exStyle, static_cast<DWORD>(value)));
  }
  if (LONG_PTR* slot = LongSlot(*window, index))
    return std::exchange(*slot, value);
  if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= window->extra.size()) {
    LONG_PTR previous;
    std::memcpy(&previous, window->extra.data() + index, sizeof previous);
    std::memcpy(window->extra.data() + index, &value, sizeof value);
    return previous;
  }
  return 0;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) { return GetWindowLongA(window, index); }
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  return SetWindowLongA(window, index, value);
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (!buffer || size <= 0)
    return 0;
  buffer[0] = '\0';
  return static_cast<int>(
      SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) {
  return static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
}

HWND GetParent(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  if (!window)
    return nullptr;
  if (window->parent)
    return window->parent;
  return (window->style & WS_POPUP) ? window->owner : nullptr;
}

HWND GetDesktopWindow() {
  std::lock_guard lock(System().mutex);
  return System().desktop;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  std::lock_guard lock(System().mutex);
  std::shared_ptr<const user32::WindowClass> wanted;
  if (className) {
    wanted = System().classes.Find(className);
    if (!wanted)
      return nullptr;
  }
  for (HWND top : System().topLevels) {
    auto window = System().Find(top);
    if (!window || (wanted && window->windowClass != wanted))
      continue;
    if (windowName && window->text != windowName)
      continue;
    return top;
  }
  return nullptr;
}

HWND GetDlgItem(HWND parent, int id) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(parent);
  if (!window)
    return nullptr;
  for (HWND child : window->children) {
    if (auto c = System().Find(child); c && c->id == id)
      return child;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && window->parent ? static_cast<int>(window->id) : 0;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM data) {
  if (!callback)
    return FALSE;
  std::vector<HWND> tops;
  {
    std::lock_guard lock(System().mutex);
    tops = System().topLevels;
  }
  for (HWND top : tops) {
    if (IsWindow(top) && !callback(top, data))
      return FALSE;
  }
  return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM data) {
  if (!callback)
    return FALSE;
  std::vector<HWND> all;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Find(parent);
    if (!window)
      return FALSE;
    CollectDescendantsLocked(System(), *window, all);
  }
  for (HWND child : all) {
    if (IsWindow(child) && !callback(child, data))
      return FALSE;
  }
  return TRUE;
}

namespace user32 {

std::string ReadWindowText(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window ? window->text : std::string();
}

void StoreWindowText(HWND handle, const char* text, size_t length) {
  bool native = false;
  std::string title;
  std::shared_ptr<DisplayBackend> display;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Find(handle);
    if (!window)
      return;
    window->text.assign(text ? text : "", text ? length : 0);
    native = window->native;
    title = window->text;
    display = System().display;
  }
  if (native)
    display->SetTitle(handle, title.c_str());
}

} // namespace user32
