// Pieces of the message loop that painting and input share (internal to
// libuser32).
#pragma once

#include "user32/window_system.h"

namespace user32 {

// Which messages a GetMessageA or PeekMessageA call takes.
struct MessageFilter {
  HWND window = nullptr; // null: any; (HWND)-1: only messages without a window
  UINT first = 0;
  UINT last = 0;

  bool TakesMessage(UINT message) const;
  // Under the lock.
  bool TakesWindow(const WindowSystem& system, HWND handle) const;
  bool Takes(const WindowSystem& system, const MSG& message) const;
};

DWORD MessageClock();
// A message stamped with the time now and the cursor position. Under the lock.
MSG StampedMessage(const WindowSystem& system, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Whether the queue has anything to take, WM_PAINT included. Under the lock.
bool HasWorkLocked(const WindowSystem& system, const ThreadQueue& queue);

} // namespace user32
