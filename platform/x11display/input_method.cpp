#include "x11display/input_method.h"

#include <X11/Xlocale.h>
#include <X11/Xutil.h>

#include <clocale>
#include <string>

namespace x11display {
namespace {

// Xlib takes the locale's character set when the method opens; the
// process's own locale (often "C") is put back right after, so nothing
// else in the program sees a change.
XIM OpenMethod(Display* display) {
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  std::string saved = current ? current : "C";
  if (!std::setlocale(LC_CTYPE, "") || !XSupportsLocale())
    std::setlocale(LC_CTYPE, "C.UTF-8");
  XIM method = nullptr;
  if (XSupportsLocale()) {
    XSetLocaleModifiers("");
    method = XOpenIM(display, nullptr, nullptr, nullptr);
    if (!method) {
      XSetLocaleModifiers("@im=none");
      method = XOpenIM(display, nullptr, nullptr, nullptr);
    }
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return method;
}

} // namespace

InputContext& InputContext::operator=(InputContext&& other) noexcept {
  if (this != &other) {
    if (context_)
      XDestroyIC(context_);
    context_ = other.context_;
    other.context_ = nullptr;
  }
  return *this;
}

InputContext::~InputContext() {
  if (context_)
    XDestroyIC(context_);
}

long InputContext::FilterEvents() const {
  long events = 0;
  if (context_)
    XGetICValues(context_, XNFilterEvents, &events, nullptr);
  return events;
}

void InputContext::Focus(bool focused) const {
  if (!context_)
    return;
  if (focused)
    XSetICFocus(context_);
  else
    XUnsetICFocus(context_);
}

std::string InputContext::Lookup(XKeyEvent& event, KeySym* keysym) const {
  char buffer[64];
  *keysym = NoSymbol;
  if (!context_) {
    int length = XLookupString(&event, buffer, sizeof buffer, keysym, nullptr);
    // Without a context the bytes are Latin-1: keep plain ASCII only.
    std::string text;
    for (int i = 0; i < length; i++) {
      if (static_cast<unsigned char>(buffer[i]) < 0x80)
        text.push_back(buffer[i]);
    }
    return text;
  }
  Status status = 0;
  int length = Xutf8LookupString(context_, &event, buffer, sizeof buffer - 1, keysym, &status);
  if (status == XBufferOverflow) {
    std::string large(static_cast<size_t>(length) + 1, '\0');
    length = Xutf8LookupString(context_, &event, large.data(), length, keysym, &status);
    large.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return status == XLookupChars || status == XLookupBoth ? large : std::string();
  }
  if (status != XLookupKeySym && status != XLookupBoth)
    *keysym = NoSymbol;
  if (status != XLookupChars && status != XLookupBoth)
    return {};
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

InputMethod::InputMethod(Display* display) : method_(OpenMethod(display)) {}

InputMethod::~InputMethod() {
  if (method_)
    XCloseIM(method_);
}

InputContext InputMethod::CreateContext(Window window) const {
  if (!method_)
    return InputContext();
  XIC context = XCreateIC(method_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                          XNFocusWindow, window, nullptr);
  return InputContext(context);
}

} // namespace x11display
