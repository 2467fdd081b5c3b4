// The icon of a message box (internal to libuser32): a child window of the
// class PLATFORM_MESSAGE_BOX_ICON_CLASS that draws the system icon whose
// identifier (IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK) its
// GWLP_USERDATA holds: a shape and a glyph on it ("X", "?", "!", "i").
#pragma once

#include "user32/window.h"

namespace user32 {

constexpr int kMessageBoxIconSize = 32;

// The system icon for the MB_ICON* bits of a box's type, or 0 for none.
WORD MessageBoxIconFor(UINT type);
// A visible icon at x, y of the box; null when it could not be made.
HWND CreateMessageBoxIcon(HWND box, WORD icon, int x, int y, int id);

} // namespace user32
