// Window classes that the window system's own windows use (internal to
// libuser32): registered on first use, process-wide (CS_GLOBALCLASS), and
// again after a test has reset the window system.
#pragma once

#include "user32/window.h"

namespace user32 {

// True when the class is there, registered now or before.
bool EnsurePrivateClass(const char* name, WNDPROC proc, UINT style, HBRUSH background);

} // namespace user32
