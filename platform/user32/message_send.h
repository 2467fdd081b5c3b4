// Sending across threads (internal to libuser32).
//
// Work for a window runs on the window's owner thread. From another thread
// it is queued to the owner as a SentCall and the caller waits, running
// whatever is sent to it meanwhile, so two threads sending to each other
// never deadlock. An ended owner thread completes everything queued to it
// with 0.
#pragma once

#include "user32/thread_queue.h"
#include "user32/window_object.h"

#include <functional>
#include <memory>

namespace user32 {

// Calls the window's current procedure on the calling thread.
LRESULT CallProcedure(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs `work` on the owner thread of `window` and returns its result; 0
// when the window is unknown or has no live owner thread.
LRESULT RunOnOwner(HWND window, const std::function<LRESULT()>& work);

// Runs the calls queued to `queue` by other threads; returns whether it ran any.
bool RunIncomingCalls(ThreadQueue& queue);

} // namespace user32
