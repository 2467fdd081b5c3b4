#include "ui/top_window.h"

#include "ui/message_dispatch.h"
#include "ui/system_functions.h"
#include "user32/window_geometry.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr char kClassName[] = "MyWindow";
constexpr WORD kProgramIcon = 129;
constexpr intptr_t kButtonFaceBrush = 16; // COLOR_BTNFACE + 1
constexpr char kNoMenu[] = "";

void RegisterToolkitClass() {
  WNDCLASSEXA c{};
  c.cbSize = sizeof c;
  c.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  c.lpfnWndProc = ToolkitWindowProc;
  c.hInstance = InstanceHandle;
  c.hIcon = bound::LoadIconA(InstanceHandle, MAKEINTRESOURCEA(kProgramIcon));
  c.hCursor = bound::LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW));
  c.hbrBackground = reinterpret_cast<HBRUSH>(kButtonFaceBrush);
  c.lpszMenuName = kNoMenu;
  c.lpszClassName = kClassName;
  bound::RegisterClassExA(&c);
  WindowClassName = TextValue::Copy(kClassName);
}

RECT Desktop() {
  RECT r{};
  GetWindowRect(GetDesktopWindow(), &r);
  return r;
}

// Half of what is left, the quotient cut towards zero.
int32_t Centred(int32_t edge, int32_t size) { return static_cast<int32_t>(std::trunc((edge - size) / 2.0)); }

} // namespace

void TopWindow::Destroy() {
  WindowObject::Destroy();
  shown_ = 0;
  topmost_ = 0;
}

HWND TopWindow::Create(std::optional<intptr_t> parent, std::optional<TextRef> title, std::optional<int32_t> left,
                       std::optional<int32_t> top, std::optional<int32_t> width, std::optional<int32_t> height,
                       HMENU menu, std::optional<DWORD> style, std::optional<int32_t> visible, Handler created) {
  intptr_t parent_value = parent.value_or(0);
  bool foreign = parent_value < 0;
  HWND parent_window = reinterpret_cast<HWND>(std::llabs(parent_value));
  if (WindowClassName.IsEmpty())
    RegisterToolkitClass();
  TextValue caption = TextValue::Copy(title.value_or(TextRef("我的窗口")));
  int32_t w = width.value_or(380);
  int32_t h = height.value_or(250);
  RECT desktop = Desktop();
  int32_t x = left ? *left : Centred(desktop.right, w);
  int32_t y = top ? *top : Centred(desktop.bottom, h);
  DWORD window_style = style.value_or(default_style_);

  HWND window = CreateWindowExA(0, WindowClassName.Bytes(), caption.Bytes(), window_style, x, y, w, h,
                                parent_window, menu, InstanceHandle, nullptr);
  if (!window)
    return nullptr;
  own_control_id_ = ControlRegistry.Count() + 1;
  ControlRegistry.Grow();
  EventEntry* entry = ControlRegistry.Entry(own_control_id_);
  entry->WindowHandle = window;
  entry->Created = created;
  SetState(x, y, w, h, shown_, window, own_control_id_);
  if (!FirstWindowHandle)
    FirstWindowHandle = window;
  if (visible.value_or(1) == 1) {
    bound::ShowWindow(window, SW_SHOW);
    bound::UpdateWindow(window);
    shown_ = 1;
  }
  bound::SendMessageA(window, kCreatedMessage, 0, 0);
  if (foreign)
    SubclassWindow(parent_window);
  return window;
}

int32_t TopWindow::Topmost(std::optional<int32_t> flag) {
  if (!flag)
    return topmost_;
  BOOL placed = SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(), SWP_NOSIZE);
  topmost_ = placed > 0 ? 1 : 0;
  return topmost_;
}

void TopWindow::Placement(std::optional<int32_t> mode) {
  if (!mode)
    return;
  switch (*mode) {
  case 1: {
    int32_t w = Width();
    int32_t h = Height();
    RECT desktop = Desktop();
    MoveWindow(Handle(), Centred(desktop.right, w), Centred(desktop.bottom, h), w, h, TRUE);
    return;
  }
  case 2:
    bound::ShowWindow(Handle(), SW_MINIMIZE);
    break;
  case 3:
    bound::ShowWindow(Handle(), SW_MAXIMIZE);
    break;
  default:
    bound::ShowWindow(Handle(), SW_SHOWNORMAL);
    break;
  }
  bound::UpdateWindow(Handle());
}

void TopWindow::OnSized(Handler h) { ControlRegistry.SetHandler(own_control_id_, &EventEntry::Sized, h); }

void TopWindow::OnDestroyed(Handler h) { ControlRegistry.SetHandler(own_control_id_, &EventEntry::Destroyed, h); }
