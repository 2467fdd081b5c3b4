#include "user32/message_send.h"

#include "user32/message.h"
#include "user32/window_system.h"

#include <poll.h>

#include <cerrno>

namespace user32 {
namespace {

void WaitForCall(ThreadQueue& self, const SentCall& call) {
  WindowSystem& system = System();
  for (;;) {
    self.wake.Drain();
    RunIncomingCalls(self);
    {
      std::lock_guard lock(system.mutex);
      if (call.done)
        return;
    }
    pollfd wake{self.wake.Fd(), POLLIN, 0};
    while (poll(&wake, 1, -1) < 0 && errno == EINTR) {
    }
  }
}

LRESULT RunOnThread(const std::shared_ptr<ThreadQueue>& target, const std::function<LRESULT()>& work) {
  std::shared_ptr<ThreadQueue> self = CurrentQueue();
  auto call = std::make_shared<SentCall>();
  call->work = work;
  call->sender = self;
  WindowSystem& system = System();
  {
    std::lock_guard lock(system.mutex);
    if (!target->alive)
      return 0;
    target->incoming.push_back(call);
  }
  target->wake.Signal();
  WaitForCall(*self, *call);
  return call->result;
}

} // namespace

LRESULT CallProcedure(const std::shared_ptr<Window>& window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC procedure;
  {
    std::lock_guard lock(System().mutex);
    procedure = window->proc;
  }
  return procedure ? procedure(window->handle, message, wParam, lParam) : 0;
}

LRESULT RunOnOwner(HWND handle, const std::function<LRESULT()>& work) {
  std::shared_ptr<ThreadQueue> self = CurrentQueue();
  std::shared_ptr<ThreadQueue> owner;
  {
    std::lock_guard lock(System().mutex);
    auto window = System().Find(handle);
    if (!window || !window->queue)
      return 0;
    owner = window->queue;
  }
  if (owner == self)
    return work();
  return RunOnThread(owner, work);
}

bool RunIncomingCalls(ThreadQueue& queue) {
  WindowSystem& system = System();
  bool ran = false;
  for (;;) {
    std::shared_ptr<SentCall> call;
    {
      std::lock_guard lock(system.mutex);
      if (queue.incoming.empty())
        return ran;
      call = queue.incoming.front();
      queue.incoming.pop_front();
    }
    LRESULT result = call->work();
    {
      std::lock_guard lock(system.mutex);
      call->result = result;
      call->done = true;
    }
    call->sender->wake.Signal();
    ran = true;
  }
}

} // namespace user32

using user32::System;

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  return user32::RunOnOwner(handle, [=]() -> LRESULT {
    std::shared_ptr<user32::Window> window;
    {
      std::lock_guard lock(System().mutex);
      window = System().Find(handle);
    }
    return window ? user32::CallProcedure(window, message, wParam, lParam) : 0;
  });
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}
