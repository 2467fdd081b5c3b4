// The X input method of the display (XIM), so that Chinese can be typed
// through the desktop's input method; one input context per top-level
// window. Display thread only. Without an input method server the local
// one of Xlib still gives compose sequences, and with none at all keys are
// looked up without a context.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace x11display {

class InputContext {
public:
  InputContext() = default;
  explicit InputContext(XIC context) : context_(context) {}
  InputContext(InputContext&& other) noexcept : context_(other.context_) { other.context_ = nullptr; }
  InputContext& operator=(InputContext&& other) noexcept;
  InputContext(const InputContext&) = delete;
  InputContext& operator=(const InputContext&) = delete;
  ~InputContext();

  // The events the input method needs on the window.
  long FilterEvents() const;
  void Focus(bool focused) const;
  // What a key press types, in UTF-8, and its keysym (0 for none).
  std::string Lookup(XKeyEvent& event, KeySym* keysym) const;

private:
  XIC context_ = nullptr;
};

class InputMethod {
public:
  explicit InputMethod(Display* display);
  InputMethod(const InputMethod&) = delete;
  InputMethod& operator=(const InputMethod&) = delete;
  ~InputMethod();

  InputContext CreateContext(Window window) const;

private:
  XIM method_ = nullptr;
};

} // namespace x11display
