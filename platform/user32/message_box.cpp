#include "user32/message_box.h"

#include "kernel32/conversion.h"
#include "user32/message_box_dialog.h"
#include "user32/window_system.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace {

std::mutex responder_mutex;
PlatformMessageBoxResponder responder = nullptr;
void* responder_context = nullptr;

int PrintBox(const PlatformMessageBox& box) {
  // Standard error is read by people and by tests in UTF-8.
  std::string caption = platform::Cp936ToUtf8(box.caption);
  std::string text = platform::Cp936ToUtf8(box.text);
  std::fprintf(stderr, "MessageBox [%s] %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
  return IDOK;
}

// With the headless display a box can only be answered by a test that
// drives windows; a process without any window has none.
bool SomeoneCouldAnswer() {
  user32::WindowSystem& system = user32::System();
  std::lock_guard lock(system.mutex);
  return system.displayName != "headless" || !system.topLevels.empty();
}

} // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  PlatformMessageBox box{owner, text ? text : "", caption ? caption : "Error", type};
  PlatformMessageBoxResponder answer;
  void* context;
  {
    std::lock_guard lock(responder_mutex);
    answer = responder;
    context = responder_context;
  }
  if (answer)
    return answer(&box, context);
  if (!SomeoneCouldAnswer())
    return PrintBox(box);
  return user32::RunMessageBoxDialog(owner, box.text, box.caption, type);
}

void PlatformTestSetMessageBoxResponder(PlatformMessageBoxResponder r, void* context) {
  std::lock_guard lock(responder_mutex);
  responder = r;
  responder_context = context;
}
