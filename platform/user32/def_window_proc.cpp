// Default processing of window messages.
#include "user32/input.h"
#include "user32/message.h"
#include "user32/paint.h"
#include "user32/window_frame.h"
#include "user32/window_geometry.h"
#include "user32/window_ops.h"
#include "user32/window_system.h"

#include <algorithm>
#include <cstring>

using user32::System;

namespace {

HBRUSH ClassBrush(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto window = System().Find(handle);
  return window && window->windowClass ? window->windowClass->background : nullptr;
}

DWORD StyleOf(HWND handle) { return static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)); }

HWND TopLevel(HWND handle) {
  std::lock_guard lock(System().mutex);
  auto top = user32::TopLevelOf(System(), System().Find(handle));
  return top ? top->handle : nullptr;
}

LRESULT SystemCommand(HWND window, WPARAM command) {
  switch (command & 0xFFF0) {
  case SC_CLOSE:
    SendMessageA(window, WM_CLOSE, 0, 0);
    break;
  case SC_MINIMIZE:
    if (StyleOf(window) & WS_MINIMIZEBOX)
      ShowWindow(window, SW_MINIMIZE);
    break;
  case SC_MAXIMIZE:
    if (StyleOf(window) & WS_MAXIMIZEBOX)
      ShowWindow(window, SW_MAXIMIZE);
    break;
  case SC_RESTORE:
    ShowWindow(window, SW_RESTORE);
    break;
  }
  return 0;
}

LRESULT CopyText(HWND window, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0)
    return 0;
  std::string text = user32::ReadWindowText(window);
  size_t copied = std::min(text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, text.data(), copied);
  out[copied] = '\0';
  return static_cast<LRESULT>(copied);
}

LRESULT ControlColour(WPARAM dc, int text, int background) {
  auto hdc = reinterpret_cast<HDC>(dc);
  SetTextColor(hdc, GetSysColor(text));
  SetBkColor(hdc, GetSysColor(background));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

} // namespace

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_NCCREATE: {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName))
      user32::StoreWindowText(window, create->lpszName, std::strlen(create->lpszName));
    return TRUE;
  }
  case WM_CLOSE:
    DestroyWindow(window);
    return 0;
  case WM_SYSCOMMAND:
    return SystemCommand(window, wParam);
  case WM_SETTEXT: {
    auto* text = reinterpret_cast<const char*>(lParam);
    user32::StoreWindowText(window, text ? text : "", text ? std::strlen(text) : 0);
    return TRUE;
  }
  case WM_GETTEXT:
    return CopyText(window, wParam, lParam);
  case WM_GETTEXTLENGTH:
    return static_cast<LRESULT>(user32::ReadWindowText(window).size());
  case WM_ERASEBKGND: {
    HBRUSH brush = ClassBrush(window);
    if (!brush)
      return 0;
    RECT client{};
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    return 1;
  }
  case WM_PAINT: {
    PAINTSTRUCT paint{};
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  case WM_ACTIVATE:
    if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0)
      SetFocus(window);
    return 0;
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
    return ControlColour(wParam, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
    return ControlColour(wParam, COLOR_WINDOWTEXT, COLOR_WINDOW);
  case WM_SYSKEYDOWN:
    if (wParam == VK_F4 && (lParam & (LPARAM{1} << 29)))
      SendMessageA(TopLevel(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  case WM_MOUSEWHEEL:
    if (HWND parent = (StyleOf(window) & WS_CHILD) ? GetParent(window) : nullptr)
      return SendMessageA(parent, WM_MOUSEWHEEL, wParam, lParam);
    return 0;
  case WM_CANCELMODE:
    if (GetCapture() == window)
      ReleaseCapture();
    return 0;
  default:
    return 0;
  }
}
