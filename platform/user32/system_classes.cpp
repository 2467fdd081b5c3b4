#include "user32/system_classes.h"

#include "user32/message.h"
#include "user32/resource.h"

namespace user32 {
namespace {

WindowClass SystemClass(const char* name, ATOM atom, UINT style, WNDPROC proc, WORD cursor) {
  WindowClass c;
  c.name = name;
  c.atom = atom;
  c.style = style | CS_GLOBALCLASS;
  c.proc = proc;
  c.cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(cursor));
  c.system = true;
  return c;
}

} // namespace

void RegisterSystemClasses(ClassRegistry& classes) {
  classes.Add(SystemClass("Button", 0x0080, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, ButtonProc,
                          IDC_ARROW));
  classes.Add(SystemClass("Edit", 0x0081, CS_DBLCLKS | CS_PARENTDC, EditProc, IDC_IBEAM));
  classes.Add(SystemClass("Static", 0x0082, CS_DBLCLKS | CS_PARENTDC, StaticProc, IDC_ARROW));
  classes.Add(SystemClass("ListBox", 0x0083, CS_DBLCLKS | CS_PARENTDC, ListBoxProc, IDC_ARROW));
  classes.Add(SystemClass(kDesktopClassName, 0x8001, 0, DefWindowProcA, IDC_ARROW));
}

} // namespace user32
