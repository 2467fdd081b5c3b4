#include "runtime/runtime_frame.h"

#include "kernel32/process.h"
#include "ole32/com_init.h"
#include "runtime/block.h"
#include "runtime/components.h"
#include "runtime/service_entry.h"
#include "user32/message_box.h"

#include <atomic>
#include <cstdio>

namespace {

// Unwinds the main thread back into RunInStartupFrame once the exit sequence
// has run, so that the locals on the way release what they hold.
struct StartupFrameExit {};

std::atomic<ExitRoutine> exit_routine{nullptr};
std::atomic<ExitRoutine> library_unloader{nullptr};
std::atomic<bool> exiting{false};
std::atomic<bool> frame_recorded{false};
std::atomic<DWORD> frame_thread{0};

bool OnStartupFrameThread() {
  return frame_recorded.load() && frame_thread.load() == GetCurrentThreadId();
}

void RunExitSequence() {
  if (ExitRoutine routine = exit_routine.exchange(nullptr))
    routine();
  NotifyComponents(ComponentExit, 0);
  if (ExitRoutine unloader = library_unloader.exchange(nullptr))
    unloader();
}

} // namespace

void RuntimeStartup() {
  TakeProcessHeap();
  CoInitialize(nullptr);
  NotifyComponents(ComponentStart, reinterpret_cast<intptr_t>(&ServiceEntry));
}

void SetExitRoutine(ExitRoutine routine) { exit_routine.store(routine); }

void SetLibraryUnloader(ExitRoutine unloader) { library_unloader.store(unloader); }

int RunInStartupFrame(int32_t (*program)()) {
  frame_thread.store(GetCurrentThreadId());
  frame_recorded.store(true);
  try {
    ExitProgram(program());
  } catch (const StartupFrameExit&) {
  }
  frame_recorded.store(false);
  return 0;
}

void ExitProgram(int32_t code) {
  // A second way out while the sequence runs (a fatal error inside the exit
  // routine, or another thread) must not run it again.
  if (!exiting.exchange(true))
    RunExitSequence();
  if (OnStartupFrameThread())
    throw StartupFrameExit{};
  ExitProcess(static_cast<UINT>(code));
}

void FatalError(int32_t number) {
  char text[96];
  std::snprintf(text, sizeof text, "program internal error number is %d. (0x%Xh)", number,
                static_cast<unsigned>(number));
  MessageBoxA(nullptr, text, "error", MB_ICONERROR);
  ExitProgram(0);
}
