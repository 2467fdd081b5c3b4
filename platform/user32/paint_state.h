// Invalid windows and paint targets (internal to libuser32).
#pragma once

#include "user32/message_loop.h"
#include "user32/window_system.h"

#include <memory>
#include <vector>

namespace user32 {

using QueueList = std::vector<std::shared_ptr<ThreadQueue>>;

// Marks `rect` (client coordinates; null: all) of the window and of its
// visible children inside it as needing paint, and adds the queues that
// must wake to `wake`. Under the lock.
void InvalidateLocked(WindowSystem& system, Window& window, const RECT* rect, bool erase, QueueList& wake);
// Signals each queue once (without the lock).
void WakeAll(const QueueList& queues);
// Invalidates the window and wakes its queue (without the lock).
void Invalidate(HWND window, const RECT* rect, bool erase);

// The first window of the queue's thread, parents before children, that
// needs paint and shows on screen; null when none. Under the lock.
HWND FindWindowToPaintLocked(const WindowSystem& system, const ThreadQueue& queue,
                             const MessageFilter& filter);
bool AnyWindowToPaintLocked(const WindowSystem& system, const ThreadQueue& queue);

// Where a window's painter paints: its client area, or its whole outer
// rectangle (the frame of a child). Under the lock.
PaintTarget ClientPaintTargetLocked(const WindowSystem& system, const Window& window, bool beginsPaint);
PaintTarget FramePaintTargetLocked(const WindowSystem& system, const Window& window);

} // namespace user32
