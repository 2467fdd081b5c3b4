#include "kernel32/thread.h"

#include "kernel32/handle.h"
#include "kernel32/last_error.h"
#include "kernel32/process.h"

#include <limits.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What a thread's handle sees of it. The running thread holds it as well,
// so closing the handle never takes it away from under the thread.
class ThreadObject : public KernelObject {
public:
  static constexpr KernelObjectKind kKind = KernelObjectKind::Thread;

  ThreadObject() : KernelObject(kKind) {}

  void Started(DWORD id) {
    std::lock_guard lock(mutex_);
    id_ = id;
    changed_.notify_all();
  }

  DWORD AwaitId() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return id_ != 0; });
    return id_;
  }

  void Ended(DWORD code) {
    std::lock_guard lock(mutex_);
    exit_code_ = code;
    ended_ = true;
    changed_.notify_all();
  }

  bool AwaitEnd(DWORD milliseconds) {
    std::unique_lock lock(mutex_);
    auto ended = [this] { return ended_; };
    if (milliseconds == INFINITE) {
      changed_.wait(lock, ended);
      return true;
    }
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), ended);
  }

  DWORD ExitCode() {
    std::lock_guard lock(mutex_);
    return ended_ ? exit_code_ : STILL_ACTIVE;
  }

private:
  std::mutex mutex_;
  std::condition_variable changed_;
  DWORD id_ = 0;
  bool ended_ = false;
  DWORD exit_code_ = STILL_ACTIVE;
};

struct StartBlock {
  LPTHREAD_START_ROUTINE start;
  LPVOID parameter;
  std::shared_ptr<ThreadObject> thread;
};

void* RunThread(void* data) {
  std::unique_ptr<StartBlock> block(static_cast<StartBlock*>(data));
  block->thread->Started(GetCurrentThreadId());
  DWORD code = block->start(block->parameter);
  block->thread->Ended(code);
  return nullptr;
}

struct AttrHolder {
  pthread_attr_t attr;
  AttrHolder() { pthread_attr_init(&attr); }
  ~AttrHolder() { pthread_attr_destroy(&attr); }
  AttrHolder(const AttrHolder&) = delete;
  AttrHolder& operator=(const AttrHolder&) = delete;
};

HANDLE FailThread(DWORD error) {
  SetLastError(error);
  return nullptr;
}

} // namespace

HANDLE CreateThread(LPVOID, SIZE_T stackSize, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                    DWORD creationFlags, DWORD* threadId) {
  if (!start || creationFlags != 0)
    return FailThread(ERROR_INVALID_PARAMETER);
  AttrHolder attributes;
  pthread_attr_setdetachstate(&attributes.attr, PTHREAD_CREATE_DETACHED);
  if (stackSize > 0)
    pthread_attr_setstacksize(&attributes.attr, std::max(stackSize, static_cast<SIZE_T>(PTHREAD_STACK_MIN)));
  auto thread = std::make_shared<ThreadObject>();
  auto block = std::make_unique<StartBlock>(StartBlock{start, parameter, thread});
  pthread_t id;
  if (pthread_create(&id, &attributes.attr, RunThread, block.get()) != 0)
    return FailThread(ERROR_NOT_ENOUGH_MEMORY);
  block.release(); // the new thread owns it now
  if (threadId)
    *threadId = thread->AwaitId();
  return ProcessHandles().Insert(std::move(thread));
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  std::shared_ptr<ThreadObject> thread = ProcessHandles().FindAs<ThreadObject>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return thread->AwaitEnd(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL GetExitCodeThread(HANDLE handle, DWORD* exitCode) {
  std::shared_ptr<ThreadObject> thread = ProcessHandles().FindAs<ThreadObject>(handle);
  if (!thread || !exitCode) {
    SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = thread->ExitCode();
  return TRUE;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  if (milliseconds == INFINITE) {
    for (;;)
      std::this_thread::sleep_for(std::chrono::hours(24));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
