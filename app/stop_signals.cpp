#include "app/stop_signals.h"

#include "kernel32/process.h"
#include "user32/message.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

namespace {

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

void Watch(sigset_t signals, DWORD uiThread) {
  int signal = 0;
  if (sigwait(&signals, &signal) != 0)
    return;
  PostThreadMessageA(uiThread, WM_QUIT, 0, 0);
  if (sigwait(&signals, &signal) == 0)
    _exit(128 + signal);
}

} // namespace

void WatchStopSignals() {
  sigset_t signals = StopSignals();
  if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0)
    return;
  std::thread(Watch, signals, GetCurrentThreadId()).detach();
}
