// The window system's state (internal to libuser32): windows, classes,
// queues, input state and the display, in one object per process.
//
// One mutex guards all of it. Nothing calls a window procedure, the display
// or gdi32 while holding it: every path takes what it needs under the lock,
// releases it, then calls out. The state can be rebuilt in place (Reset)
// for tests; the object itself is never destroyed, because detached
// threads may still use it while the process ends.
#pragma once

#include "user32/class_registry.h"
#include "user32/display_backend.h"
#include "user32/handle_table.h"
#include "user32/thread_queue.h"
#include "user32/window_object.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace user32 {

struct InputState {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  HWND grab = nullptr; // the window the mouse went down on, while buttons are held
  int buttons = 0;     // held buttons, bit per PLATFORM_BUTTON_*
  POINT cursor{};
  BYTE keys[256] = {}; // 0x80 down, 0x01 toggled

  struct Click {
    HWND window = nullptr;
    int button = -1;
    DWORD time = 0;
    POINT point{};
  } lastClick;
};

class WindowSystem {
public:
  static WindowSystem& Get();

  std::mutex mutex;
  std::condition_variable queueSlept; // a queue went to sleep or ended

  HandleTable windows;
  std::vector<HWND> topLevels; // z-order, top first (topmost windows ahead)
  ClassRegistry classes;
  std::vector<std::shared_ptr<ThreadQueue>> queues;
  std::shared_ptr<ThreadQueue> displayQueue; // the thread that talks to the display's events
  InputState input;
  HWND desktop = nullptr;
  std::shared_ptr<DisplayBackend> display;
  std::string displayName;

  // Under the lock.
  std::shared_ptr<Window> Find(HWND handle) const;
  std::shared_ptr<Window> Live(HWND handle) const; // not yet being destroyed

  // Without the lock.
  std::shared_ptr<DisplayBackend> Display();
  void Reset();
  std::shared_ptr<ThreadQueue> AddQueue(DWORD threadId);
  // The thread of `queue` ends: its windows go without messages, and what
  // was sent to it returns 0.
  void EndThread(const std::shared_ptr<ThreadQueue>& queue);

private:
  WindowSystem();
  void RegisterSystemClassesLocked();
  void CreateDesktopLocked();
};

inline WindowSystem& System() { return WindowSystem::Get(); }

// The calling thread's queue, made on first use. Never call it with the
// window system's lock held.
std::shared_ptr<ThreadQueue> CurrentQueue();

// Unlinks a window from its parent's children or the top-level list and
// drops it from the handle table, with focus, activation and capture
// forgetting it. Under the lock.
void UnlinkWindowLocked(WindowSystem& system, Window& window);

} // namespace user32
