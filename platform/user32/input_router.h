// Raw input to messages (internal to libuser32).
//
// Raw events are queued to the thread that owns the window they are for;
// that thread turns them into input messages one at a time, when its input
// messages are all taken, so each event is hit-tested against the windows
// as the earlier events left them.
#pragma once

#include "user32/thread_queue.h"

namespace user32 {

BOOL DeliverRawInput(const PlatformRawInput& input);
// Turns queued raw events into input messages until one gives a message
// (or none are left). On the queue's own thread, without the lock.
void ConvertRawInput(ThreadQueue& queue);

} // namespace user32
