#include "user32/message.h"
#include "user32/system_classes.h"

namespace user32 {

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace user32
