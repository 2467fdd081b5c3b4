#include "user32/window_system_test.h"

#include "user32/message.h"
#include "user32/message_loop.h"
#include "user32/window_system.h"

#include <chrono>
#include <set>

void PlatformTestResetWindowSystem() { user32::System().Reset(); }

int PlatformTestPumpMessages() {
  constexpr int kMostMessages = 10000;
  MSG message{};
  for (int dispatched = 0; dispatched < kMostMessages; dispatched++) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      return dispatched;
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return dispatched;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return -1;
}

BOOL PlatformTestWaitIdle(DWORD timeoutMs) {
  auto self = user32::CurrentQueue();
  user32::WindowSystem& system = user32::System();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::unique_lock lock(system.mutex);
  for (;;) {
    bool idle = true;
    std::set<const user32::ThreadQueue*> owners;
    for (const auto& window : system.windows.All())
      owners.insert(window->queue.get());
    for (const auto& queue : system.queues) {
      // A thread with neither windows nor work is no UI thread, whatever it does.
      bool busy = user32::HasWorkLocked(system, *queue);
      if (queue == self || !queue->alive || (!busy && !owners.count(queue.get())))
        continue;
      if (!queue->waiting || busy) {
        idle = false;
        break;
      }
    }
    if (idle)
      return TRUE;
    if (system.queueSlept.wait_until(lock, deadline) == std::cv_status::timeout &&
        std::chrono::steady_clock::now() >= deadline)
      return FALSE;
  }
}
