#include "user32/control_support.h"

#include "user32/input.h"
#include "user32/message.h"
#include "user32/window_geometry.h"
#include "user32/window_system.h"

namespace user32 {

std::shared_ptr<Window> ControlWindow(HWND handle) {
  std::lock_guard lock(System().mutex);
  return System().Find(handle);
}

DWORD StyleOf(HWND handle) { return static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)); }

RECT ClientArea(HWND handle) {
  RECT client{};
  GetClientRect(handle, &client);
  return client;
}

bool Focused(HWND handle) { return GetFocus() == handle; }

bool HandleFontMessage(ControlBase& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) {
  if (message == WM_GETFONT) {
    *result = reinterpret_cast<LRESULT>(state.font);
    return true;
  }
  if (message != WM_SETFONT)
    return false;
  state.font = reinterpret_cast<HFONT>(wParam);
  if (LOWORD(static_cast<uintptr_t>(lParam)))
    Redraw(window);
  *result = 0;
  return true;
}

void SelectControlFont(HDC dc, const ControlBase& state) {
  SelectObject(dc, state.font ? static_cast<HGDIOBJ>(state.font) : GetStockObject(SYSTEM_FONT));
}

HBRUSH ControlBrush(HWND control, HDC dc, UINT message) {
  HWND parent = GetParent(control);
  LRESULT brush =
      parent ? SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control))
             : 0;
  if (!brush)
    brush = DefWindowProcA(control, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
  return reinterpret_cast<HBRUSH>(brush);
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (!parent)
    return;
  WORD id = static_cast<WORD>(GetDlgCtrlID(control));
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void Redraw(HWND control) { InvalidateRect(control, nullptr, TRUE); }

} // namespace user32
