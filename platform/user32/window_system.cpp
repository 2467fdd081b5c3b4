#include "user32/window_system.h"

#include "kernel32/process.h"
#include "user32/display_registry.h"
#include "user32/system_classes.h"

#include <algorithm>

namespace user32 {
namespace {

void Complete(const std::vector<std::shared_ptr<SentCall>>& calls, WindowSystem& system) {
  {
    std::lock_guard lock(system.mutex);
    for (const auto& call : calls) {
      call->result = 0;
      call->done = true;
    }
  }
  for (const auto& call : calls)
    call->sender->wake.Signal();
}

void Erase(std::vector<HWND>& list, HWND handle) {
  list.erase(std::remove(list.begin(), list.end(), handle), list.end());
}

void ForgetLocked(InputState& input, HWND handle) {
  for (HWND* slot : {&input.focus, &input.active, &input.capture, &input.grab, &input.lastClick.window}) {
    if (*slot == handle)
      *slot = nullptr;
  }
}

struct QueueBinding {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueBinding() {
    if (queue)
      System().EndThread(queue);
  }
};

thread_local QueueBinding binding;

} // namespace

WindowSystem& WindowSystem::Get() {
  // Never destroyed: detached threads may still use it while the process ends.
  static WindowSystem* system = new WindowSystem();
  return *system;
}

WindowSystem::WindowSystem() {
  display = ChooseDisplay(&displayName);
  RegisterSystemClassesLocked();
  CreateDesktopLocked();
}

void WindowSystem::RegisterSystemClassesLocked() { RegisterSystemClasses(classes); }

void WindowSystem::CreateDesktopLocked() {
  auto window = std::make_shared<Window>();
  window->windowClass = classes.Find(kDesktopClassName);
  window->proc = window->windowClass ? window->windowClass->proc : nullptr;
  window->style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_POPUP;
  desktop = windows.Add(std::move(window));
}

std::shared_ptr<Window> WindowSystem::Find(HWND handle) const {
  return handle ? windows.Find(handle) : nullptr;
}

std::shared_ptr<Window> WindowSystem::Live(HWND handle) const {
  auto window = Find(handle);
  return window && !window->destroying ? window : nullptr;
}

std::shared_ptr<DisplayBackend> WindowSystem::Display() {
  std::lock_guard lock(mutex);
  return display;
}

void WindowSystem::Reset() {
  std::string name;
  std::shared_ptr<DisplayBackend> fresh = ChooseDisplay(&name);
  std::vector<std::shared_ptr<SentCall>> orphaned;
  std::vector<std::shared_ptr<Window>> dropped;
  std::shared_ptr<DisplayBackend> old;
  {
    std::lock_guard lock(mutex);
    dropped = windows.All();
    windows.Clear();
    topLevels.clear();
    classes.Clear();
    RegisterSystemClassesLocked();
    for (const auto& queue : queues) {
      queue->posted.clear();
      queue->input.clear();
      queue->raw.clear();
      queue->quit = false;
      orphaned.insert(orphaned.end(), queue->incoming.begin(), queue->incoming.end());
      queue->incoming.clear();
    }
    displayQueue = nullptr;
    input = InputState{};
    old = std::exchange(display, fresh);
    displayName = name;
    CreateDesktopLocked();
  }
  Complete(orphaned, *this);
}

std::shared_ptr<ThreadQueue> WindowSystem::AddQueue(DWORD threadId) {
  auto queue = std::make_shared<ThreadQueue>(threadId);
  std::lock_guard lock(mutex);
  queues.push_back(queue);
  return queue;
}

void WindowSystem::EndThread(const std::shared_ptr<ThreadQueue>& queue) {
  std::vector<std::shared_ptr<SentCall>> orphaned;
  std::vector<std::shared_ptr<Window>> dropped;
  std::vector<HWND> natives;
  std::shared_ptr<DisplayBackend> shown;
  {
    std::lock_guard lock(mutex);
    queue->alive = false;
    orphaned.assign(queue->incoming.begin(), queue->incoming.end());
    queue->incoming.clear();
    // The thread's windows and everything inside them.
    for (const auto& window : windows.All()) {
      if (window->queue == queue)
        dropped.push_back(window);
    }
    for (size_t i = 0; i < dropped.size(); i++) {
      for (HWND child : dropped[i]->children) {
        if (auto c = windows.Find(child); c && c->queue != queue)
          dropped.push_back(c);
      }
    }
    for (const auto& window : dropped) {
      if (window->native)
        natives.push_back(window->handle);
      UnlinkWindowLocked(*this, *window);
    }
    queues.erase(std::remove(queues.begin(), queues.end(), queue), queues.end());
    if (displayQueue == queue)
      displayQueue = nullptr;
    shown = display;
  }
  queueSlept.notify_all();
  Complete(orphaned, *this);
  for (HWND handle : natives)
    shown->DestroyWindow(handle);
}

std::shared_ptr<ThreadQueue> CurrentQueue() {
  if (!binding.queue)
    binding.queue = System().AddQueue(GetCurrentThreadId());
  return binding.queue;
}

void UnlinkWindowLocked(WindowSystem& system, Window& window) {
  if (auto parent = system.windows.Find(window.parent))
    Erase(parent->children, window.handle);
  Erase(system.topLevels, window.handle);
  system.windows.Remove(window.handle);
  ForgetLocked(system.input, window.handle);
}

} // namespace user32
