// Test hooks of the window system: a fresh state between tests, and
// running or waiting for message queues.
#pragma once

#include "win/types.h"

// Back to a fresh window system: every window is dropped without messages,
// the registered classes, the queues' contents, focus, activation, capture
// and key states are cleared, and a new display is chosen (the headless
// screen back at 1024 by 768). Handles keep counting, so none is reused.
// Call it while no other thread uses the window system.
PLATFORM_API void PlatformTestResetWindowSystem();
// Runs the calling thread's queue (PeekMessageA, TranslateMessage,
// DispatchMessageA) until nothing is left, WM_PAINT included. WM_QUIT stays
// queued and stops the run. Returns how many messages were dispatched, or
// -1 when it gave up after 10000 (a window that never validates).
PLATFORM_API int PlatformTestPumpMessages();
// Waits until every other thread that owns windows or has messages waiting
// sleeps in its message loop with nothing left to do (input, posted and
// sent messages handled, windows painted). FALSE on time-out.
PLATFORM_API BOOL PlatformTestWaitIdle(DWORD timeoutMs);
