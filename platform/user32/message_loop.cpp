// The message loop, top to bottom: what a thread takes from its queue and in
// which order, and how it sleeps when there is nothing.
#include "user32/message_loop.h"

#include "kernel32/process.h"
#include "user32/input.h"
#include "user32/input_router.h"
#include "user32/message.h"
#include "user32/message_send.h"
#include "user32/paint_state.h"
#include "user32/window_frame.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

namespace user32 {

bool MessageFilter::TakesMessage(UINT message) const {
  if (first == 0 && last == 0)
    return true;
  return message >= first && message <= last;
}

bool MessageFilter::TakesWindow(const WindowSystem& system, HWND handle) const {
  if (!window)
    return true;
  if (window == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)))
    return handle == nullptr;
  return IsSelfOrDescendant(system, window, handle);
}

bool MessageFilter::Takes(const WindowSystem& system, const MSG& message) const {
  return TakesMessage(message.message) && TakesWindow(system, message.hwnd);
}

DWORD MessageClock() {
  static const auto start = std::chrono::steady_clock::now();
  auto elapsed = std::chrono::steady_clock::now() - start;
  // Starts above 0, so that a time of 0 can mean "now" in raw input.
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()) + 1000;
}

MSG StampedMessage(const WindowSystem& system, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{window, message, wParam, lParam, MessageClock(), system.input.cursor};
}

bool HasWorkLocked(const WindowSystem& system, const ThreadQueue& queue) {
  return !queue.posted.empty() || !queue.input.empty() || !queue.raw.empty() || !queue.incoming.empty() ||
         queue.quit || AnyWindowToPaintLocked(system, queue);
}

namespace {

bool TakeFrom(std::deque<MSG>& messages, const WindowSystem& system, const MessageFilter& filter, bool remove,
              MSG* out) {
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    if (!filter.Takes(system, *it))
      continue;
    *out = *it;
    if (remove)
      messages.erase(it);
    return true;
  }
  return false;
}

void PumpDisplay(ThreadQueue& queue) {
  std::shared_ptr<DisplayBackend> display;
  {
    WindowSystem& system = System();
    std::lock_guard lock(system.mutex);
    if (system.displayQueue.get() == &queue)
      display = system.display;
  }
  if (display)
    display->Pump();
}

// One look at everything the thread may take, in the order Windows gives it:
// sent messages (run here), posted messages, input, WM_QUIT, WM_PAINT.
bool TakeMessage(ThreadQueue& queue, const MessageFilter& filter, bool remove, MSG* out) {
  WindowSystem& system = System();
  {
    std::lock_guard lock(system.mutex);
    queue.pumps = true;
  }
  RunIncomingCalls(queue);
  PumpDisplay(queue);
  ConvertRawInput(queue);
  std::lock_guard lock(system.mutex);
  if (TakeFrom(queue.posted, system, filter, remove, out) ||
      TakeFrom(queue.input, system, filter, remove, out))
    return true;
  if (queue.quit) {
    *out = StampedMessage(system, nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
    if (remove)
      queue.quit = false;
    return true;
  }
  if (HWND window = FindWindowToPaintLocked(system, queue, filter)) {
    *out = StampedMessage(system, window, WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

void Sleep(ThreadQueue& queue) {
  WindowSystem& system = System();
  std::shared_ptr<DisplayBackend> display;
  {
    std::lock_guard lock(system.mutex);
    queue.waiting = true;
    if (system.displayQueue.get() == &queue)
      display = system.display;
  }
  system.queueSlept.notify_all();
  pollfd fds[2] = {{queue.wake.Fd(), POLLIN, 0}, {display ? display->EventFd() : -1, POLLIN, 0}};
  nfds_t count = fds[1].fd >= 0 ? 2 : 1;
  while (poll(fds, count, -1) < 0 && errno == EINTR) {
  }
  std::lock_guard lock(system.mutex);
  queue.waiting = false;
}

bool FilterIsValid(HWND window) {
  if (!window || window == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)))
    return true;
  std::lock_guard lock(System().mutex);
  return System().Find(window) != nullptr;
}

char ShiftedDigit(UINT digit) { return ")!@#$%^&*("[digit]; }

struct OemKey {
  UINT vk;
  char plain;
  char shifted;
};

constexpr OemKey kOemKeys[] = {{VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
                               {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
                               {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
                               {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'}};

// The character a key types on a US layout, or 0.
int CharacterOf(UINT vk, bool shift, bool control, bool capsLock) {
  if (vk >= 'A' && vk <= 'Z') {
    if (control)
      return static_cast<int>(vk - 'A' + 1);
    bool upper = shift != capsLock;
    return static_cast<int>(upper ? vk : vk - 'A' + 'a');
  }
  if (control)
    return 0;
  if (vk >= '0' && vk <= '9')
    return shift ? ShiftedDigit(vk - '0') : static_cast<int>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
    return static_cast<int>('0' + vk - VK_NUMPAD0);
  switch (vk) {
  case VK_SPACE:
    return ' ';
  case VK_RETURN:
    return '\r';
  case VK_BACK:
    return '\b';
  case VK_TAB:
    return '\t';
  case VK_ESCAPE:
    return 0x1B;
  case VK_MULTIPLY:
    return '*';
  case VK_ADD:
    return '+';
  case VK_SUBTRACT:
    return '-';
  case VK_DECIMAL:
    return '.';
  case VK_DIVIDE:
    return '/';
  }
  for (const OemKey& key : kOemKeys) {
    if (key.vk == vk)
      return shift ? key.shifted : key.plain;
  }
  return 0;
}

} // namespace
} // namespace user32

using user32::System;

BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last) {
  if (!message || !user32::FilterIsValid(window))
    return -1;
  auto queue = user32::CurrentQueue();
  user32::MessageFilter filter{window, first, last};
  for (;;) {
    queue->wake.Drain();
    if (user32::TakeMessage(*queue, filter, true, message)) {
      queue->lastMessageTime = static_cast<LONG>(message->time);
      return message->message == WM_QUIT ? FALSE : TRUE;
    }
    user32::Sleep(*queue);
  }
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT flags) {
  if (!message || !user32::FilterIsValid(window))
    return FALSE;
  auto queue = user32::CurrentQueue();
  queue->wake.Drain();
  user32::MessageFilter filter{window, first, last};
  if (!user32::TakeMessage(*queue, filter, (flags & PM_REMOVE) != 0, message))
    return FALSE;
  queue->lastMessageTime = static_cast<LONG>(message->time);
  return TRUE;
}

BOOL WaitMessage() {
  auto queue = user32::CurrentQueue();
  for (;;) {
    queue->wake.Drain();
    user32::RunIncomingCalls(*queue);
    {
      std::lock_guard lock(System().mutex);
      if (user32::HasWorkLocked(System(), *queue))
        break;
    }
    user32::Sleep(*queue);
  }
  return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
  if (!message || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN))
    return FALSE;
  bool shift, control, caps;
  {
    std::lock_guard lock(System().mutex);
    const BYTE* keys = System().input.keys;
    shift = keys[VK_SHIFT] & 0x80;
    control = keys[VK_CONTROL] & 0x80;
    caps = keys[VK_CAPITAL] & 0x01;
  }
  int character = user32::CharacterOf(static_cast<UINT>(message->wParam), shift, control, caps);
  if (character == 0)
    return FALSE;
  UINT kind = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  return PostMessageA(message->hwnd, kind, static_cast<WPARAM>(character), message->lParam);
}

LRESULT DispatchMessageA(const MSG* message) {
  if (!message || !message->hwnd)
    return 0;
  std::shared_ptr<user32::Window> window;
  {
    std::lock_guard lock(System().mutex);
    window = System().Find(message->hwnd);
  }
  if (!window)
    return 0;
  return user32::CallProcedure(window, message->message, message->wParam, message->lParam);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<user32::ThreadQueue> queue = window ? nullptr : user32::CurrentQueue();
  user32::WindowSystem& system = System();
  {
    std::lock_guard lock(system.mutex);
    if (window) {
      auto target = system.Find(window);
      if (!target || !target->queue)
        return FALSE;
      queue = target->queue;
    }
    if (!queue->alive)
      return FALSE;
    queue->posted.push_back(user32::StampedMessage(system, window, message, wParam, lParam));
  }
  queue->wake.Signal();
  return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  user32::WindowSystem& system = System();
  std::shared_ptr<user32::ThreadQueue> queue;
  {
    std::lock_guard lock(system.mutex);
    for (const auto& q : system.queues) {
      if (q->threadId == threadId && q->alive)
        queue = q;
    }
    if (!queue)
      return FALSE;
    queue->posted.push_back(user32::StampedMessage(system, nullptr, message, wParam, lParam));
  }
  queue->wake.Signal();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  auto queue = user32::CurrentQueue();
  {
    std::lock_guard lock(System().mutex);
    queue->quit = true;
    queue->quitCode = exitCode;
  }
  queue->wake.Signal();
}

LONG GetMessageTime() { return user32::CurrentQueue()->lastMessageTime; }

DWORD PlatformMessageClock() { return user32::MessageClock(); }
