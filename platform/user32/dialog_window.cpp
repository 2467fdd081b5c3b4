// The dialog class, its default processing and its modal loop.
#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/dialog_focus.h"
#include "user32/dialog_registry.h"
#include "user32/input.h"
#include "user32/message_box.h"
#include "user32/paint.h"
#include "user32/private_class.h"
#include "user32/window_geometry.h"
#include "user32/window_system.h"

#include <algorithm>

namespace user32 {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

struct DialogCreation {
  DLGPROC proc;
};

HWND TopLevelOf(HWND window) {
  while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
    window = GetParent(window);
  return window;
}

void RestoreFocus(HWND dialog) {
  auto record = DialogRegistry::Get().Find(dialog);
  HWND control = record ? record->focus : nullptr;
  if (!control || !IsChild(dialog, control) || !IsWindowEnabled(control) || !IsWindowVisible(control))
    control = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (control)
    SetDialogFocus(control);
}

void KeepFocus(HWND dialog) {
  HWND focus = GetFocus();
  if (IsChild(dialog, focus))
    DialogRegistry::Get().SetFocusControl(dialog, focus);
}

LRESULT DefaultDialogProcessing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_CLOSE:
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    return 0;
  case WM_ACTIVATE:
    if (LOWORD(wParam) == WA_INACTIVE)
      KeepFocus(dialog);
    else
      RestoreFocus(dialog);
    return 0;
  case WM_SETFOCUS:
    RestoreFocus(dialog);
    return 0;
  default:
    return DefWindowProcA(dialog, message, wParam, lParam);
  }
}

// What a handled message answers: most give 0, these give the procedure's value.
LRESULT AnswerOf(UINT message, INT_PTR handled) {
  bool valued = message == WM_INITDIALOG || (message >= WM_CTLCOLOREDIT && message <= WM_CTLCOLORSTATIC);
  return valued ? handled : 0;
}

LRESULT DialogClassProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* creation = static_cast<const DialogCreation*>(create->lpCreateParams);
    DialogRegistry::Get().Add(dialog, creation ? creation->proc : nullptr);
    return DefWindowProcA(dialog, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    DialogRegistry::Get().Remove(dialog);
    return DefWindowProcA(dialog, message, wParam, lParam);
  }
  auto record = DialogRegistry::Get().Find(dialog);
  if (record && record->proc) {
    if (INT_PTR handled = record->proc(dialog, message, wParam, lParam))
      return AnswerOf(message, handled);
  }
  return DefaultDialogProcessing(dialog, message, wParam, lParam);
}

bool EnsureDialogClass() {
  return EnsurePrivateClass(PLATFORM_DIALOG_CLASS, DialogClassProc, 0,
                            reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1)));
}

// Centred over `area`, then moved inside the screen.
POINT PlaceIn(const RECT& area, LONG width, LONG height) {
  LONG x = area.left + (area.right - area.left - width) / 2;
  LONG y = area.top + (area.bottom - area.top - height) / 2;
  LONG screenWidth = GetSystemMetrics(SM_CXSCREEN);
  LONG screenHeight = GetSystemMetrics(SM_CYSCREEN);
  x = std::max<LONG>(0, std::min(x, screenWidth - width));
  y = std::max<LONG>(0, std::min(y, screenHeight - height));
  return {x, y};
}

bool OwnedByThisThread(HWND window) {
  auto self = CurrentQueue();
  std::lock_guard lock(System().mutex);
  auto found = System().Live(window);
  return found && found->queue == self;
}

INT_PTR RunLoop(HWND dialog) {
  for (;;) {
    auto record = DialogRegistry::Get().Find(dialog);
    if (!record)
      return -1;
    if (record->ended)
      return record->result;
    MSG message{};
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1)
      return -1;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return -1;
    }
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

// Activation goes back only to a window of this thread: a send to another
// thread's window would wait for a thread that may not be pumping.
void ActivateAgain(HWND window) {
  if (window && OwnedByThisThread(window) && IsWindowVisible(window) && IsWindowEnabled(window))
    SetActiveWindow(window);
}

} // namespace
} // namespace user32

HWND PlatformCreateDialog(HWND owner, LPCSTR title, int clientWidth, int clientHeight, DLGPROC proc,
                          LPARAM param) {
  if (!user32::EnsureDialogClass())
    return nullptr;
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, user32::kDialogStyle, FALSE, user32::kDialogExStyle);
  LONG width = outer.right - outer.left;
  LONG height = outer.bottom - outer.top;
  HWND top = user32::TopLevelOf(owner);
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (top)
    GetWindowRect(top, &area);
  POINT at = user32::PlaceIn(area, width, height);
  user32::DialogCreation creation{proc};
  HWND dialog = CreateWindowExA(user32::kDialogExStyle, PLATFORM_DIALOG_CLASS, title, user32::kDialogStyle,
                                at.x, at.y, width, height, top, nullptr, nullptr, &creation);
  if (!dialog)
    return nullptr;
  SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(GetNextDlgTabItem(dialog, nullptr, FALSE)),
               param);
  if (!IsWindow(dialog))
    return nullptr;
  user32::KeepFocus(dialog);
  return dialog;
}

INT_PTR PlatformRunModalDialog(HWND dialog) {
  if (!user32::OwnedByThisThread(dialog) || !user32::DialogRegistry::Get().Find(dialog))
    return -1;
  HWND owner = GetParent(dialog);
  HWND before = GetActiveWindow();
  bool disabledOwner = owner && IsWindowEnabled(owner);
  if (disabledOwner)
    EnableWindow(owner, FALSE);
  ShowWindow(dialog, SW_SHOW);
  user32::DialogRegistry::Get().SetLooping(dialog, true);
  INT_PTR result = user32::RunLoop(dialog);
  if (disabledOwner)
    EnableWindow(owner, TRUE);
  DestroyWindow(dialog);
  user32::ActivateAgain(owner ? owner : before);
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  if (!user32::DialogRegistry::Get().End(dialog, result))
    return FALSE;
  // Wakes the loop when another thread ends it.
  PostMessageA(dialog, WM_NULL, 0, 0);
  return TRUE;
}

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextA(control, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (buffer && size > 0)
      buffer[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, buffer, size));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageA(control, message, wParam, lParam) : 0;
}
