// One thread's message queue (internal to libuser32).
//
// Everything but `wake` and the thread-owned fields is guarded by the window
// system's mutex. Whoever adds something a sleeping owner must see signals
// `wake` after releasing the lock; the owner drains `wake` before it looks
// at the queue, so no signal is lost between its look and its sleep.
#pragma once

#include "user32/display_backend.h"
#include "user32/event_fd.h"
#include "user32/message.h"

#include <deque>
#include <functional>
#include <memory>

namespace user32 {

class ThreadQueue;

// A message (or a piece of work) one thread sent to another, waiting for
// the owner thread to run it.
struct SentCall {
  std::function<LRESULT()> work;
  std::shared_ptr<ThreadQueue> sender;
  LRESULT result = 0;
  bool done = false;
};

class ThreadQueue {
public:
  explicit ThreadQueue(DWORD threadId) : threadId(threadId) {}

  const DWORD threadId;
  const EventFd wake;

  std::deque<MSG> posted;
  std::deque<MSG> input;            // input messages, ready to be taken
  std::deque<PlatformRawInput> raw; // raw input not yet turned into messages
  std::deque<std::shared_ptr<SentCall>> incoming;
  bool quit = false;
  int quitCode = 0;
  bool alive = true;    // false once the thread has ended
  bool waiting = false; // asleep in GetMessageA or WaitMessage
  bool pumps = false;   // has run a message loop

  // Owned by the thread itself.
  LONG lastMessageTime = 0;
};

} // namespace user32
