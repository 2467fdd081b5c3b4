#include "app/batch_guard.h"

#include "kernel32/process.h"
#include "kernel32/thread.h"
#include "user32/message.h"
#include "user32/window.h"

#include <atomic>

namespace {

std::atomic<bool> batch_active{false};
std::atomic<bool> worker_running{false};
std::atomic<bool> stop_requested{false};
std::atomic<DWORD> worker_thread{0};

constexpr DWORD kWaitSliceMs = 10;
constexpr int kSlicesBetweenCloses = 10;

void RunWaitingMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

BOOL CloseWorkerWindow(HWND window, LPARAM threadId) {
  if (GetWindowThreadProcessId(window, nullptr) == static_cast<DWORD>(threadId))
    PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// The completion box waits for a user who is leaving: close it as its close
// box would.
void CloseWorkerBoxes() {
  if (DWORD thread = worker_thread.load())
    EnumWindows(CloseWorkerWindow, static_cast<LPARAM>(thread));
}

} // namespace

bool BeginBatch() { return !batch_active.exchange(true); }

void EndBatch() { batch_active.store(false); }

void WorkerStarting() { worker_running.store(true); }

void WorkerEnded() {
  worker_thread.store(0);
  worker_running.store(false);
}

void WorkerThreadIs(unsigned long threadId) { worker_thread.store(static_cast<DWORD>(threadId)); }

bool WorkerStopRequested() { return stop_requested.load(); }

void StopWorkerAndWait() {
  stop_requested.store(true);
  for (int slice = 0; worker_running.load(); slice++) {
    if (slice % kSlicesBetweenCloses == 0)
      CloseWorkerBoxes();
    RunWaitingMessages();
    Sleep(kWaitSliceMs);
  }
}
