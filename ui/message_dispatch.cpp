#include "ui/message_dispatch.h"

#include "runtime/block.h"
#include "ui/control_registry.h"
#include "ui/system_functions.h"
#include "user32/input.h"
#include "user32/window_geometry.h"

namespace {

// Each notification code of WM_COMMAND runs one slot of the entry.
Handler EventEntry::*CommandSlot(WORD code) {
  switch (code) {
  case 0:
    return &EventEntry::Clicked;
  case 0x100:
    return &EventEntry::GotFocus;
  case 0x200:
    return &EventEntry::LostFocus;
  case 0x300:
    return &EventEntry::Command300;
  case 0x400:
    return &EventEntry::Command400;
  case 9:
    return &EventEntry::Command9;
  case 2:
    return &EventEntry::DoubleClick;
  case 1:
    return &EventEntry::SelectionChanged;
  default:
    return nullptr;
  }
}

Handler EventEntry::*NotifySlot(int code) {
  switch (code) {
  case -402: // TVN_SELCHANGEDA
    return &EventEntry::SelectionChanged;
  case -3: // NM_DBLCLK
    return &EventEntry::DoubleClick;
  case -2: // NM_CLICK
    return &EventEntry::Clicked;
  case -5: // NM_RCLICK
    return &EventEntry::RightDown;
  default:
    return nullptr;
  }
}

constexpr int kTipTextRequest = -520; // TTN_GETDISPINFOA

// Runs the slot of the window's entry; 1 when the window is not registered.
int RunForWindow(HWND window, Handler EventEntry::*slot) {
  EventEntry* entry = ControlRegistry.FindWindow(window);
  if (!entry)
    return 1;
  // No registry reference is kept across the handler, which may create windows.
  InvokeHandler(entry->*slot);
  return 0;
}

int OnCommand(WPARAM wParam, LPARAM lParam) {
  WORD id = LOWORD(wParam);
  if (lParam == 0) {
    EventEntry* menu = MenuRegistry.Entry(id);
    if (!menu)
      return 1;
    InvokeHandler(menu->Clicked);
    return 0;
  }
  EventEntry* entry = ControlRegistry.Entry(id);
  if (lParam < 0 || !entry)
    return 1;
  Handler EventEntry::*slot = CommandSlot(HIWORD(wParam));
  if (!slot)
    return 1;
  InvokeHandler(entry->*slot);
  return 0;
}

int OnNotify(LPARAM lParam) {
  auto* header = reinterpret_cast<NotifyHeader*>(lParam);
  if (!header)
    return 1;
  EventEntry* entry = ControlRegistry.Entry(static_cast<int32_t>(header->id));
  if (!entry)
    return 1;
  int code = static_cast<int>(header->code);
  if (code == kTipTextRequest) {
    reinterpret_cast<TipTextRequest*>(lParam)->text = entry->TipText;
    return 0;
  }
  Handler EventEntry::*slot = NotifySlot(code);
  if (!slot)
    return 1;
  HWND from = header->from;
  InvokeHandler(entry->*slot);
  SetFocus(from);
  return 0;
}

void AutoSizeWindows() {
  for (int32_t i = 1; i <= AutoSizeList.Count(); i++)
    MoveWindow(static_cast<HWND>(AutoSizeList.At(i)), 0, 0, 0, 0, FALSE);
}

int OnDestroy(HWND window) {
  if (window == FirstWindowHandle) {
    RunForWindow(window, &EventEntry::Destroyed);
    bound::PostQuitMessage(0);
    return 0;
  }
  return RunForWindow(window, &EventEntry::Destroyed);
}

} // namespace

int DispatchMessageEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case kCreatedMessage:
    return RunForWindow(window, &EventEntry::Created);
  case WM_SIZE:
    AutoSizeWindows();
    return RunForWindow(window, &EventEntry::Sized);
  case WM_DESTROY:
    return OnDestroy(window);
  case WM_LBUTTONDOWN:
    return RunForWindow(window, &EventEntry::LeftDown);
  case WM_LBUTTONUP:
    return RunForWindow(window, &EventEntry::LeftUp);
  case WM_LBUTTONDBLCLK:
    return RunForWindow(window, &EventEntry::DoubleClick);
  case WM_RBUTTONDOWN:
    return RunForWindow(window, &EventEntry::RightDown);
  case WM_RBUTTONUP:
    return RunForWindow(window, &EventEntry::RightUp);
  case WM_SETFOCUS:
    return RunForWindow(window, &EventEntry::GotFocus);
  case WM_KILLFOCUS:
    return RunForWindow(window, &EventEntry::LostFocus);
  case WM_KEYDOWN:
  case WM_KEYUP:
    return RunForWindow(window, &EventEntry::Key);
  case WM_COMMAND:
    return OnCommand(wParam, lParam);
  case WM_NOTIFY:
    return OnNotify(lParam);
  default:
    return 1;
  }
}

LRESULT ToolkitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DispatchMessageEvent(window, message, wParam, lParam) == 0)
    return 0;
  return bound::DefWindowProcA(window, message, wParam, lParam);
}

namespace {

SubclassEntry* FindSubclassed(HWND window) {
  for (int32_t i = 1; i <= SubclassTable.Count(); i++) {
    auto* entry = static_cast<SubclassEntry*>(SubclassTable.At(i));
    if (entry->window == window)
      return entry;
  }
  return nullptr;
}

} // namespace

LRESULT SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (DispatchMessageEvent(window, message, wParam, lParam) == 0)
    return 0;
  SubclassEntry* entry = FindSubclassed(window);
  if (!entry)
    return 0;
  return CallWindowProcA(entry->previous, window, message, wParam, lParam);
}

void SubclassWindow(HWND window) {
  if (FindSubclassed(window))
    return;
  auto* entry = static_cast<SubclassEntry*>(AllocBlock(sizeof(SubclassEntry)));
  entry->window = window;
  entry->previous = reinterpret_cast<WNDPROC>(bound::GetWindowLongA(window, GWL_WNDPROC));
  SubclassTable.Append(entry);
  bound::SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc));
}
