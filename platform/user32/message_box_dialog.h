// The dialog behind MessageBoxA (internal to libuser32): its layout from
// the text, the icon and the buttons of the box's type, and its answers.
// See user32/message_box.h for what the user sees.
#pragma once

#include "win/types.h"

namespace user32 {

// Shows the box on the calling thread and waits for the answer: the button
// identifier, or 0 when the box could not be shown.
int RunMessageBoxDialog(HWND owner, const char* text, const char* caption, UINT type);

} // namespace user32
