// What the system controls share (internal to libuser32): their state, the
// font they draw with, the brush their parent gives them and the
// notifications they send it. Everything here runs on the control's owner
// thread, inside its window procedure.
#pragma once

#include "user32/paint.h"
#include "user32/window_object.h"

#include <memory>
#include <string>

namespace user32 {

struct ControlBase : ControlState {
  HFONT font = nullptr;
};

std::shared_ptr<Window> ControlWindow(HWND handle);

// The control's state, made on first use (or when the window's state is of
// another kind, as after a foreign procedure was called on it).
template <typename State> State& ControlStateOf(Window& window) {
  auto* state = dynamic_cast<State*>(window.control.get());
  if (!state) {
    window.control = std::make_unique<State>();
    state = static_cast<State*>(window.control.get());
  }
  return *state;
}

DWORD StyleOf(HWND handle);
RECT ClientArea(HWND handle);
bool Focused(HWND handle);

// WM_SETFONT and WM_GETFONT; true when `message` was one of them.
bool HandleFontMessage(ControlBase& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* result);
// Selects the control's font (the system font when it has none) into `dc`.
void SelectControlFont(HDC dc, const ControlBase& state);
// The brush (and text colours in `dc`) the parent chooses with `message`
// (WM_CTLCOLORSTATIC, ...), or the default one.
HBRUSH ControlBrush(HWND control, HDC dc, UINT message);
// WM_COMMAND to the parent: the identifier and `code`, the control's handle.
void NotifyParent(HWND control, WORD code);
void Redraw(HWND control);

} // namespace user32
