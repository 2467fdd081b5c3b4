#include "user32/private_class.h"

namespace user32 {

bool EnsurePrivateClass(const char* name, WNDPROC proc, UINT style, HBRUSH background) {
  WNDCLASSEXA known{};
  if (GetClassInfoExA(nullptr, name, &known))
    return true;
  WNDCLASSEXA wanted{};
  wanted.cbSize = sizeof wanted;
  wanted.style = style | CS_GLOBALCLASS;
  wanted.lpfnWndProc = proc;
  wanted.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
  wanted.hbrBackground = background;
  wanted.lpszClassName = name;
  // Another thread may have registered it in between: then it is there too.
  return RegisterClassExA(&wanted) != 0 || GetClassInfoExA(nullptr, name, &known);
}

} // namespace user32
