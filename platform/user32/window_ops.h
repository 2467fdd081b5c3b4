// Window operations that several parts of the window system share
// (internal to libuser32). Those marked "owner thread" run only on the
// thread that owns the window; the public calls get there with RunOnOwner.
// None of them may be called with the window system's lock held.
#pragma once

#include "user32/thread_queue.h"
#include "user32/window.h"

#include <memory>
#include <string>

namespace user32 {

// Owner thread.
BOOL ShowWindowHere(HWND window, int command);
BOOL SetWindowPosHere(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags,
                      bool fromDisplay);
// Makes the top-level window of `window` active (WM_ACTIVATE to the old and
// the new one); `how` is WA_ACTIVE or WA_CLICKACTIVE. Returns the window
// that was active.
HWND Activate(HWND window, WORD how);
// After the active window went away: the topmost visible, enabled top-level
// window of the thread becomes active.
void ActivateNextTopLevel(const std::shared_ptr<ThreadQueue>& queue);
// Takes the focus from inside the window (WM_KILLFOCUS), if it is there.
void DropFocusInside(HWND window);

// The window's text as stored, and storing it (the display's title too).
std::string ReadWindowText(HWND window);
void StoreWindowText(HWND window, const char* text, size_t length);

} // namespace user32
