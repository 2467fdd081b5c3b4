#include "app/program.h"

#include "app/batch_guard.h"
#include "app/program_icon.h"
#include "app/start_subroutine.h"
#include "app/stop_signals.h"
#include "app/window_objects.h"
#include "engine/run_log.h"
#include "engine/song_list.h"
#include "runtime/runtime_frame.h"
#include "ui/control_registry.h"
#include "ui/system_functions.h"
#include "user32/display_backend.h"
#include "web/page_request.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kHeadless = "headless";

bool HeadlessAskedFor() {
  const char* wanted = std::getenv("CANTIVA_DISPLAY");
  return wanted && std::strcmp(wanted, kHeadless) == 0;
}

// The window system falls back to the headless display when the real one
// cannot be opened; a user would then see nothing at all.
bool DisplayOpened() { return std::strcmp(PlatformDisplayName(), kHeadless) != 0 || HeadlessAskedFor(); }

// A worker still running is stopped and waited for first: it uses the
// window objects, the song list and the run log freed below.
void ProgramCleanup() {
  StopWorkerAndWait();
  FreeWindowObjects();
  SongFolder = TextValue();
  SongList.Clear();
  RunLog.Free();
  PageProxy.server = TextValue();
  PageProxy.userName = TextValue();
  PageProxy.password = TextValue();
  FreeToolkitTables();
}

int32_t ProgramBody() {
  AllocateWindowObjects();
  SongList.Clear();
  FreeToolkitTables();
  SetExitRoutine(ProgramCleanup);
  FirstWindowHandle = nullptr;
  InstanceHandle = bound::GetModuleHandleA(nullptr);
  RegisterProgramIcon();
  return StartSubroutine();
}

} // namespace

int RunProgram() {
  WatchStopSignals();
  if (!DisplayOpened()) {
    std::fputs("cantiva: cannot open display\n", stderr);
    return 1;
  }
  RuntimeStartup();
  return RunInStartupFrame(ProgramBody);
}
