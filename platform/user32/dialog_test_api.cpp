#include "user32/dialog_test.h"

#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/dialog_focus.h"
#include "user32/dialog_registry.h"
#include "user32/headless_display.h"
#include "user32/input.h"
#include "user32/window_geometry.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

constexpr auto kLookEvery = std::chrono::milliseconds(5);

bool WaitFor(DWORD timeoutMs, const std::function<bool()>& condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition())
      return true;
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(kLookEvery);
  }
}

std::string TextOf(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

struct DialogSearch {
  LPCSTR title;
  HWND found;
};

bool IsReady(HWND dialog) {
  auto record = user32::DialogRegistry::Get().Find(dialog);
  return record && record->looping && !record->ended && IsWindowVisible(dialog) &&
         GetActiveWindow() == dialog && IsChild(dialog, GetFocus());
}

BOOL MatchDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  if (!user32::HasClass(window, PLATFORM_DIALOG_CLASS))
    return TRUE;
  if (search->title && TextOf(window) != search->title)
    return TRUE;
  if (!IsReady(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

struct ControlSearch {
  HWND dialog;
  LPCSTR className;
  LPCSTR text;
  HWND found;
};

BOOL MatchControl(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (GetParent(window) != search->dialog)
    return TRUE;
  if (search->className && !user32::HasClass(window, search->className))
    return TRUE;
  if (search->text && TextOf(window) != search->text)
    return TRUE;
  search->found = window;
  return FALSE;
}

std::string ItemText(HWND list, int index) {
  LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0)
    return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

} // namespace

HWND PlatformTestWaitForDialog(LPCSTR title, DWORD timeoutMs) {
  DialogSearch search{title, nullptr};
  WaitFor(timeoutMs, [&] {
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  });
  return search.found;
}

BOOL PlatformTestWaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitFor(timeoutMs, [&] { return !IsWindow(window); }) ? TRUE : FALSE;
}

HWND PlatformTestFindDialogControl(HWND dialog, LPCSTR className, LPCSTR text) {
  ControlSearch search{dialog, className, text, nullptr};
  EnumChildWindows(dialog, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL PlatformTestClickControl(HWND control) {
  RECT client{};
  if (!GetClientRect(control, &client))
    return FALSE;
  return PlatformTestClickWindow(control, client.right / 2, client.bottom / 2);
}

BOOL PlatformTestPressDialogButton(HWND dialog, LPCSTR caption) {
  HWND button = PlatformTestFindDialogControl(dialog, "Button", caption);
  return button ? PlatformTestClickControl(button) : FALSE;
}

int PlatformTestFindListItem(HWND list, LPCSTR text) {
  if (!text)
    return -1;
  auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; i++) {
    if (ItemText(list, i) == text)
      return i;
  }
  return -1;
}

BOOL PlatformTestClickListItem(HWND list, LPCSTR text, BOOL twice) {
  int index = PlatformTestFindListItem(list, text);
  if (index < 0)
    return FALSE;
  SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  RECT item{};
  if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) ==
      LB_ERR)
    return FALSE;
  int x = (item.left + item.right) / 2;
  int y = (item.top + item.bottom) / 2;
  BOOL clicked = PlatformTestClickWindow(list, x, y);
  if (clicked && twice)
    clicked = PlatformTestClickWindow(list, x, y);
  return clicked;
}
