// Giving the focus to a dialog's control as the dialog manager does it
// (internal to libuser32): an Edit that gets it has its whole text selected,
// so that typing replaces it.
#pragma once

#include "user32/window.h"

namespace user32 {

void SetDialogFocus(HWND control);
// The control's class is `name` (ASCII letters in any case).
bool HasClass(HWND window, const char* name);

} // namespace user32
