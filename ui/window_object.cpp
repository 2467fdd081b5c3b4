#include "ui/window_object.h"

#include "runtime/text_commands.h"
#include "ui/system_functions.h"
#include "user32/window_geometry.h"

void WindowObject::Destroy() {
  handle_ = nullptr;
  left_ = top_ = width_ = height_ = 0;
  control_id_ = 0;
}

int32_t WindowObject::Visible(std::optional<int32_t> flag) {
  if (!flag)
    return bound::IsWindowVisible(handle_) ? 1 : 0;
  bound::ShowWindow(handle_, *flag ? SW_SHOW : SW_HIDE);
  visible_ = *flag ? 1 : 0;
  bound::UpdateWindow(handle_);
  return visible_;
}

void WindowObject::SetState(int32_t left, int32_t top, int32_t width, int32_t height, int32_t visible, HWND handle,
                            int32_t controlId) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  visible_ = visible;
  handle_ = handle;
  control_id_ = controlId;
}

int32_t WindowObject::IsValid() { return bound::IsWindow(handle_) ? 1 : 0; }

TextValue WindowObject::Text(std::optional<TextRef> text) {
  if (text) {
    // An empty text leaves the window's text as it was.
    if (!text->IsEmpty())
      bound::SetWindowTextA(handle_, text->Bytes());
    return TextValue::Copy(*text);
  }
  int n = GetWindowTextLengthA(handle_);
  TextValue buffer = SpaceText(n);
  if (buffer.IsEmpty())
    return {};
  int got = GetWindowTextA(handle_, buffer.MutableBytes(), n + 1);
  return TextValue::Copy(buffer.Bytes(), static_cast<size_t>(got > 0 ? got : 0));
}

HWND WindowObject::Handle() const { return handle_; }

void WindowObject::Move(std::optional<int32_t> left, std::optional<int32_t> top, std::optional<int32_t> width,
                        std::optional<int32_t> height) {
  if (left)
    left_ = *left;
  if (top)
    top_ = *top;
  if (width)
    width_ = *width;
  if (height)
    height_ = *height;
  MoveWindow(handle_, left_, top_, width_, height_, TRUE);
}

int32_t WindowObject::Width() {
  RECT r{};
  GetWindowRect(handle_, &r);
  return width_ = r.right - r.left;
}

int32_t WindowObject::Height() {
  RECT r{};
  GetWindowRect(handle_, &r);
  return height_ = r.bottom - r.top;
}

namespace {

// The window's place: in its parent's client area for a child, on the
// screen for a top-level window.
POINT Place(HWND window) {
  POINT at{0, 0};
  if (HWND parent = GetParent(window)) {
    MapWindowPoints(window, parent, &at, 1);
    return at;
  }
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top};
}

} // namespace

int32_t WindowObject::Left() { return left_ = Place(handle_).x; }

int32_t WindowObject::Top() { return top_ = Place(handle_).y; }

int32_t WindowObject::Disabled(std::optional<int32_t> flag) {
  if (flag)
    EnableWindow(handle_, *flag == 0);
  return IsWindowEnabled(handle_) ? 1 : 0;
}

void WindowObject::OnLeftDown(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::LeftDown, h); }
void WindowObject::OnLeftUp(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::LeftUp, h); }
void WindowObject::OnDoubleClick(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::DoubleClick, h); }
void WindowObject::OnRightDown(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::RightDown, h); }
void WindowObject::OnRightUp(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::RightUp, h); }
void WindowObject::OnSpareA(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::SpareA, h); }
void WindowObject::OnGotFocus(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::GotFocus, h); }
void WindowObject::OnLostFocus(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::LostFocus, h); }
void WindowObject::OnKey(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::Key, h); }
void WindowObject::OnSpareB(Handler h) { ControlRegistry.SetHandler(control_id_, &EventEntry::SpareB, h); }
