// From X keys to the window system's virtual keys.
//
// The key is named by the keysym of its unshifted level (what the key shows
// without Shift): the window system derives the typed character from the
// virtual key and the held modifiers, as on a US layout. Keys with no
// virtual key (letters of other layouts, text from the input method) give
// 0, and the display sends their text instead.
#pragma once

#include "win/types.h"

// `keysym` is an X KeySym.
PLATFORM_API UINT PlatformX11VirtualKey(unsigned long keysym);
