// The dialog manager's keyboard: Tab and Shift+Tab between tab stops, Enter
// for the focused or the default push button, Esc for Cancel.
#include "user32/dialog_focus.h"

#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/input.h"
#include "user32/message_box.h"

#include <strings.h>

#include <algorithm>
#include <vector>

namespace user32 {
namespace {

struct Children {
  HWND dialog;
  std::vector<HWND> found;
};

BOOL CollectDirectChild(HWND window, LPARAM data) {
  auto* children = reinterpret_cast<Children*>(data);
  if (GetParent(window) == children->dialog)
    children->found.push_back(window);
  return TRUE;
}

// The dialog's own controls in creation order.
std::vector<HWND> ControlsOf(HWND dialog) {
  Children children{dialog, {}};
  EnumChildWindows(dialog, CollectDirectChild, reinterpret_cast<LPARAM>(&children));
  return children.found;
}

bool IsTabStop(HWND control) {
  auto style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
  return (style & WS_TABSTOP) && IsWindowVisible(control) && IsWindowEnabled(control);
}

// The dialog's control that is or holds `window`.
HWND ControlHolding(HWND dialog, HWND window) {
  while (window && GetParent(window) != dialog) {
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
      return nullptr;
    window = GetParent(window);
  }
  return window;
}

DWORD ButtonType(HWND control) {
  return static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsPushButton(HWND control) {
  return HasClass(control, "Button") &&
         (ButtonType(control) == BS_PUSHBUTTON || ButtonType(control) == BS_DEFPUSHBUTTON);
}

int DefaultButtonId(HWND dialog) {
  for (HWND control : ControlsOf(dialog)) {
    if (HasClass(control, "Button") && ButtonType(control) == BS_DEFPUSHBUTTON)
      return GetDlgCtrlID(control);
  }
  return IDOK;
}

void SendCommand(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button))
    return;
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

void PressEnter(HWND dialog) {
  HWND focus = ControlHolding(dialog, GetFocus());
  SendCommand(dialog, focus && IsPushButton(focus) ? GetDlgCtrlID(focus) : DefaultButtonId(dialog));
}

bool HandleDialogKey(HWND dialog, WPARAM key) {
  switch (key) {
  case VK_TAB: {
    if (GetKeyState(VK_CONTROL) < 0)
      return false;
    HWND from = ControlHolding(dialog, GetFocus());
    if (HWND next = GetNextDlgTabItem(dialog, from, GetKeyState(VK_SHIFT) < 0))
      SetDialogFocus(next);
    return true;
  }
  case VK_RETURN:
    PressEnter(dialog);
    return true;
  case VK_ESCAPE:
    SendCommand(dialog, IDCANCEL);
    return true;
  default:
    return false;
  }
}

} // namespace

bool HasClass(HWND window, const char* name) {
  char found[64] = {};
  return GetClassNameA(window, found, sizeof found) > 0 && strcasecmp(found, name) == 0;
}

void SetDialogFocus(HWND control) {
  SetFocus(control);
  if (GetFocus() == control && HasClass(control, "Edit"))
    SendMessageA(control, EM_SETSEL, 0, -1);
}

} // namespace user32

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> controls = user32::ControlsOf(dialog);
  if (previous)
    std::reverse(controls.begin(), controls.end());
  auto start = std::find(controls.begin(), controls.end(), control);
  size_t first = start == controls.end() ? 0 : static_cast<size_t>(start - controls.begin()) + 1;
  for (size_t step = 0; step < controls.size(); step++) {
    HWND candidate = controls[(first + step) % controls.size()];
    if (user32::IsTabStop(candidate))
      return candidate;
  }
  return nullptr;
}

BOOL IsDialogMessageA(HWND dialog, MSG* message) {
  if (!message || !dialog || !IsWindow(dialog))
    return FALSE;
  if (message->hwnd != dialog && !IsChild(dialog, message->hwnd))
    return FALSE;
  if (message->message == WM_KEYDOWN && user32::HandleDialogKey(dialog, message->wParam))
    return TRUE;
  TranslateMessage(message);
  DispatchMessageA(message);
  return TRUE;
}
