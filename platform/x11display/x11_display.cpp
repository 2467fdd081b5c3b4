#include "x11display/x11_display.h"

#include "kernel32/conversion.h"
#include "user32/input.h"
#include "user32/paint.h"
#include "user32/resource.h"
#include "user32/window.h"
#include "x11display/key_map.h"
#include "x11display/surface_painter.h"
#include "x11display/text_renderer.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>

namespace x11display {
namespace {

constexpr long kEventMask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                            ButtonReleaseMask | PointerMotionMask | StructureNotifyMask | FocusChangeMask |
                            PropertyChangeMask;
constexpr int kWheelStep = 120;
constexpr size_t kTextChunk = 14; // what one raw text event carries, whole characters only

// A window the server has already destroyed is no reason to stop.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

std::string ToUtf8(const char* cp936) {
  if (!cp936 || !*cp936)
    return {};
  int size = PlatformCp936ToUtf8(cp936, -1, nullptr, 0);
  if (size <= 0)
    return {};
  std::string out(static_cast<size_t>(size), '\0');
  PlatformCp936ToUtf8(cp936, -1, out.data(), size);
  out.resize(std::strlen(out.c_str()));
  return out;
}

std::string ToCp936(const std::string& utf8) {
  if (utf8.empty())
    return {};
  int size = PlatformUtf8ToCp936(utf8.c_str(), -1, nullptr, 0);
  if (size <= 0)
    return {};
  std::string out(static_cast<size_t>(size), '\0');
  PlatformUtf8ToCp936(utf8.c_str(), -1, out.data(), size);
  out.resize(std::strlen(out.c_str()));
  return out;
}

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

int Positive(LONG value) { return value > 0 ? static_cast<int>(value) : 1; }

// One channel (0..255) into the bits of `mask`.
unsigned long Channel(unsigned value, unsigned long mask) {
  if (!mask)
    return 0;
  int shift = __builtin_ctzl(mask);
  unsigned long top = mask >> shift;
  return ((value * top + 127) / 255) << shift;
}

// 0x00RRGGBB as a pixel of a true-colour visual.
unsigned long ScreenPixel(const Visual* visual, uint32_t rgb) {
  return Channel((rgb >> 16) & 0xFF, visual->red_mask) | Channel((rgb >> 8) & 0xFF, visual->green_mask) |
         Channel(rgb & 0xFF, visual->blue_mask);
}

} // namespace

SharedState::SharedState() : wakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SharedState::~SharedState() {
  if (wakeFd >= 0)
    close(wakeFd);
}

void SharedState::Wake() const {
  uint64_t one = 1;
  ssize_t written = write(wakeFd, &one, sizeof one);
  (void)written;
}

void SharedState::Drain() const {
  uint64_t count = 0;
  while (read(wakeFd, &count, sizeof count) > 0) {
  }
}

bool SharedState::OnDisplayThread() {
  std::lock_guard lock(mutex);
  if (!displayThread)
    displayThread = std::this_thread::get_id();
  return *displayThread == std::this_thread::get_id();
}

std::unique_ptr<X11Display> X11Display::Open() {
  Display* display = XOpenDisplay(nullptr);
  if (!display)
    return nullptr;
  XSetErrorHandler(IgnoreError);
  auto shared = std::make_shared<SharedState>();
  int pollFd = epoll_create1(EPOLL_CLOEXEC);
  if (shared->wakeFd < 0 || pollFd < 0) {
    if (pollFd >= 0)
      close(pollFd);
    XCloseDisplay(display);
    return nullptr;
  }
  epoll_event wake{EPOLLIN, {}};
  epoll_event connection{EPOLLIN, {}};
  epoll_ctl(pollFd, EPOLL_CTL_ADD, shared->wakeFd, &wake);
  epoll_ctl(pollFd, EPOLL_CTL_ADD, ConnectionNumber(display), &connection);
  return std::unique_ptr<X11Display>(new X11Display(display, pollFd, std::move(shared)));
}

X11Display::X11Display(Display* display, int pollFd, std::shared_ptr<SharedState> shared)
    : display_(display), pollFd_(pollFd), shared_(std::move(shared)), atoms_(display),
      inputMethod_(std::make_unique<InputMethod>(display)),
      gc_(XCreateGC(display, DefaultRootWindow(display), 0, nullptr)) {
  int screen = DefaultScreen(display);
  screen_ = {DisplayWidth(display, screen), DisplayHeight(display, screen)};
  Bool supported = False;
  XkbSetDetectableAutoRepeat(display, True, &supported); // a held key repeats presses only
}

// Runs on whichever thread lets the display go (the window system's reset
// or the end of the process), when no other thread uses it.
X11Display::~X11Display() {
  for (auto& [handle, window] : windows_) {
    window.input = InputContext();
    if (window.xid)
      XDestroyWindow(display_, window.xid);
  }
  windows_.clear();
  XFreeGC(display_, gc_);
  inputMethod_.reset();
  XCloseDisplay(display_);
  close(pollFd_);
}

void X11Display::OnDisplayThread(std::function<void()> call) {
  if (!shared_->OnDisplayThread()) {
    {
      std::lock_guard lock(shared_->mutex);
      shared_->pending.push_back(std::move(call));
    }
    shared_->Wake();
    return;
  }
  RunPending();
  call();
}

void X11Display::RunPending() {
  std::vector<std::function<void()>> calls;
  {
    std::lock_guard lock(shared_->mutex);
    calls.swap(shared_->pending);
  }
  for (auto& call : calls)
    call();
}

void X11Display::Pump() {
  shared_->OnDisplayThread();
  shared_->Drain();
  do {
    RunPending();
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (XFilterEvent(&event, None))
        continue;
      Handle(event);
    }
    for (auto& [handle, window] : windows_)
      CopyToScreen(window);
    XFlush(display_);
  } while (XEventsQueued(display_, QueuedAlready) > 0);
}

// --- Windows ---------------------------------------------------------------

void X11Display::CreateWindow(const DisplayWindow& info) {
  auto surface = std::make_shared<Surface>(Positive(Width(info.client)), Positive(Height(info.client)),
                                           ToPixel(GetSysColor(COLOR_BTNFACE)));
  {
    std::lock_guard lock(surfacesMutex_);
    surfaces_[info.window] = surface;
  }
  // Everything the X thread needs is read here, on the window's own thread.
  HWND owner = GetParent(info.window);
  const uint32_t* argb = nullptr;
  int width = 0, height = 0;
  std::vector<uint32_t> icon;
  if (info.icon && PlatformIconPixels(info.icon, &argb, &width, &height))
    icon.assign(argb, argb + static_cast<size_t>(width) * height);
  DisplayWindow copy = info;
  copy.title = nullptr;
  std::string title = ToUtf8(info.title);
  OnDisplayThread([this, copy, owner, icon = std::move(icon), width, height, title = std::move(title),
                   surface]() mutable {
    TopLevel& window = windows_[copy.window];
    window.handle = copy.window;
    window.surface = surface;
    Create(copy, owner, std::move(icon), width, height, std::move(title));
  });
}

void X11Display::Create(const DisplayWindow& info, HWND owner, std::vector<uint32_t> icon, int iconWidth,
                        int iconHeight, std::string title) {
  TopLevel& window = windows_[info.window];
  window.outer = info.outer;
  window.client = info.client;
  window.style = info.style;
  XSetWindowAttributes attributes{};
  attributes.background_pixel =
      ScreenPixel(DefaultVisual(display_, DefaultScreen(display_)), ToPixel(GetSysColor(COLOR_BTNFACE)));
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = kEventMask;
  window.xid =
      XCreateWindow(display_, DefaultRootWindow(display_), info.client.left, info.client.top,
                    Positive(Width(info.client)), Positive(Height(info.client)), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWBitGravity | CWEventMask, &attributes);
  if (!window.xid)
    return;
  window.input = inputMethod_->CreateContext(window.xid);
  if (long extra = window.input.FilterEvents())
    XSelectInput(display_, window.xid, kEventMask | extra);

  Window ownerX = 0;
  if (TopLevel* ownerWindow = Find(owner))
    ownerX = ownerWindow->xid;
  WindowLook look{info.style,
                  info.exStyle,
                  Positive(Width(info.client)),
                  Positive(Height(info.client)),
                  static_cast<int>(info.client.left),
                  static_cast<int>(info.client.top),
                  owner != nullptr,
                  info.topmost};
  SetSizeHints(display_, window.xid, look);
  SetMotifHints(display_, window.xid, atoms_, info.style);
  SetStartProperties(display_, window.xid, atoms_, look, ownerX);
  x11display::SetTitle(display_, window.xid, atoms_, title);
  if (!icon.empty())
    SetIcon(display_, window.xid, atoms_, icon.data(), iconWidth, iconHeight);
}

void X11Display::DestroyWindow(HWND handle) {
  {
    std::lock_guard lock(surfacesMutex_);
    surfaces_.erase(handle);
  }
  OnDisplayThread([this, handle] {
    auto it = windows_.find(handle);
    if (it == windows_.end())
      return;
    it->second.input = InputContext();
    if (it->second.xid)
      XDestroyWindow(display_, it->second.xid);
    windows_.erase(it);
  });
}

void X11Display::ShowWindow(HWND handle, DisplayShow show) {
  OnDisplayThread([this, handle, show] {
    if (TopLevel* window = Find(handle))
      Show(*window, show);
  });
}

void X11Display::Show(TopLevel& window, DisplayShow show) {
  DisplayShow before = window.shown;
  window.shown = show;
  if (!window.xid)
    return;
  int screen = DefaultScreen(display_);
  switch (show) {
  case DisplayShow::Hidden:
    if (window.mapped || before != DisplayShow::Hidden)
      XWithdrawWindow(display_, window.xid, screen);
    window.mapped = false;
    window.iconic = false;
    break;
  case DisplayShow::Minimized:
    window.iconic = true;
    if (window.mapped) {
      XIconifyWindow(display_, window.xid, screen);
    } else {
      XWMHints* hints = XGetWMHints(display_, window.xid);
      if (hints) {
        hints->flags |= StateHint;
        hints->initial_state = IconicState;
        XSetWMHints(display_, window.xid, hints);
        XFree(hints);
      }
      XMapWindow(display_, window.xid);
    }
    break;
  case DisplayShow::Normal:
  case DisplayShow::Maximized:
    window.iconic = false;
    XMapRaised(display_, window.xid);
    if (window.mapped) {
      bool maximized = show == DisplayShow::Maximized;
      ChangeState(display_, window.xid, atoms_, atoms_.netWmStateMaxVert, maximized);
      ChangeState(display_, window.xid, atoms_, atoms_.netWmStateMaxHorz, maximized);
    }
    break;
  }
}

void X11Display::MoveWindow(HWND handle, const RECT& outer, const RECT& client) {
  {
    std::lock_guard lock(surfacesMutex_);
    auto it = surfaces_.find(handle);
    if (it != surfaces_.end())
      it->second->Resize(Positive(Width(client)), Positive(Height(client)));
  }
  OnDisplayThread([this, handle, outer, client] {
    if (TopLevel* window = Find(handle))
      Move(*window, outer, client);
  });
}

void X11Display::Move(TopLevel& window, const RECT& outer, const RECT& client) {
  bool resized = Width(client) != Width(window.client) || Height(client) != Height(window.client);
  window.outer = outer;
  window.client = client;
  if (!window.xid)
    return;
  if (resized) {
    WindowLook look{window.style,
                    0,
                    Positive(Width(client)),
                    Positive(Height(client)),
                    static_cast<int>(client.left),
                    static_cast<int>(client.top),
                    false,
                    false};
    SetSizeHints(display_, window.xid, look);
  }
  window.configureSerial = NextRequest(display_);
  XMoveResizeWindow(display_, window.xid, client.left, client.top, Positive(Width(client)),
                    Positive(Height(client)));
}

void X11Display::SetTitle(HWND handle, const char* title) {
  std::string utf8 = ToUtf8(title);
  OnDisplayThread([this, handle, utf8] {
    if (TopLevel* window = Find(handle); window && window->xid)
      x11display::SetTitle(display_, window->xid, atoms_, utf8);
  });
}

void X11Display::SetTopmost(HWND handle, bool topmost) {
  OnDisplayThread([this, handle, topmost] {
    TopLevel* window = Find(handle);
    if (window && window->xid && window->mapped)
      ChangeState(display_, window->xid, atoms_, atoms_.netWmStateAbove, topmost);
  });
}

void X11Display::Activate(HWND handle) {
  OnDisplayThread([this, handle] {
    TopLevel* window = Find(handle);
    if (!window || !window->xid)
      return;
    if (window->mapped)
      SetFocusTo(*window);
    else
      window->wantsFocus = true;
  });
}

void X11Display::SetFocusTo(TopLevel& window) {
  window.wantsFocus = false;
  if (HasWindowManager()) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window.xid;
    event.xclient.message_type = atoms_.netActiveWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // from an application
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    return;
  }
  XRaiseWindow(display_, window.xid);
  XSetInputFocus(display_, window.xid, RevertToParent, CurrentTime);
}

bool X11Display::HasWindowManager() {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = XGetWindowProperty(display_, DefaultRootWindow(display_), atoms_.netSupportingWmCheck, 0, 1,
                                  False, AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
               count > 0;
  if (data)
    XFree(data);
  return found;
}

void X11Display::Beep() {
  OnDisplayThread([this] { XBell(display_, 0); });
}

Window X11Display::XWindowOf(HWND handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? 0 : it->second.xid;
}

X11Display::TopLevel* X11Display::Find(HWND handle) {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

X11Display::TopLevel* X11Display::FindX(Window xid) {
  for (auto& [handle, window] : windows_) {
    if (window.xid == xid)
      return &window;
  }
  return nullptr;
}

// --- Painting --------------------------------------------------------------

std::unique_ptr<Painter> X11Display::BeginPaint(const PaintTarget& target) {
  std::shared_ptr<Surface> surface;
  if (target.window) {
    std::lock_guard lock(surfacesMutex_);
    auto it = surfaces_.find(target.topLevel);
    if (it != surfaces_.end())
      surface = it->second;
  }
  // The display thread copies before it sleeps; another thread must wake it.
  std::weak_ptr<SharedState> shared = shared_;
  return std::make_unique<SurfacePainter>(std::move(surface), target, [shared] {
    auto state = shared.lock();
    if (state && !state->OnDisplayThread())
      state->Wake();
  });
}

void X11Display::CopyToScreen(TopLevel& window) {
  if (!window.xid || !window.surface)
    return;
  RECT area{};
  std::vector<uint32_t> pixels;
  if (!window.surface->TakeDirty(&area, &pixels) || !window.mapped)
    return;
  int screen = DefaultScreen(display_);
  Visual* visual = DefaultVisual(display_, screen);
  auto width = static_cast<unsigned>(Width(area)), height = static_cast<unsigned>(Height(area));
  XImage* image = XCreateImage(display_, visual, DefaultDepth(display_, screen), ZPixmap, 0, nullptr, width,
                               height, 32, 0);
  if (!image)
    return;
  bool direct = image->bits_per_pixel == 32 && visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 &&
                visual->blue_mask == 0xFF && image->byte_order == LSBFirst;
  std::vector<char> converted;
  if (direct) {
    image->data = reinterpret_cast<char*>(pixels.data());
  } else {
    // Another pixel format: let Xlib place each pixel.
    converted.resize(static_cast<size_t>(image->bytes_per_line) * height);
    image->data = converted.data();
    for (unsigned y = 0; y < height; y++) {
      for (unsigned x = 0; x < width; x++)
        XPutPixel(image, static_cast<int>(x), static_cast<int>(y),
                  ScreenPixel(visual, pixels[y * width + x]));
    }
  }
  XPutImage(display_, window.xid, gc_, image, 0, 0, area.left, area.top, width, height);
  image->data = nullptr; // the pixels are ours
  XDestroyImage(image);
}

// --- Events ----------------------------------------------------------------

void X11Display::Handle(XEvent& event) {
  TopLevel* window = FindX(event.xany.window);
  if (!window)
    return;
  switch (event.type) {
  case Expose:
    window->surface->Invalidate({event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                 event.xexpose.y + event.xexpose.height});
    break;
  case ButtonPress:
  case ButtonRelease:
    HandleButton(*window, event.xbutton, event.type == ButtonPress);
    break;
  case MotionNotify: {
    PlatformRawInput input{};
    input.kind = PLATFORM_RAW_MOUSE_MOVE;
    input.window = window->handle;
    input.point = OuterPoint(*window, event.xmotion.x, event.xmotion.y);
    Deliver(input);
    break;
  }
  case KeyPress:
  case KeyRelease:
    HandleKey(*window, event.xkey, event.type == KeyPress);
    break;
  case ConfigureNotify:
    HandleConfigure(*window, event.xconfigure);
    break;
  case MapNotify:
    window->mapped = true;
    window->surface->Invalidate({0, 0, Width(window->client), Height(window->client)});
    if (window->wantsFocus)
      SetFocusTo(*window);
    HandleState(*window);
    break;
  case UnmapNotify:
    window->mapped = false;
    break;
  case PropertyNotify:
    if (event.xproperty.atom == atoms_.wmState)
      HandleState(*window);
    break;
  case FocusIn:
    window->input.Focus(true);
    break;
  case FocusOut:
    window->input.Focus(false);
    break;
  case ClientMessage:
    HandleClientMessage(*window, event.xclient);
    break;
  }
}

POINT X11Display::OuterPoint(const TopLevel& window, int x, int y) const {
  return {x + window.client.left - window.outer.left, y + window.client.top - window.outer.top};
}

void X11Display::Deliver(PlatformRawInput input) { PlatformDeliverRawInput(&input); }

void X11Display::HandleButton(TopLevel& window, const XButtonEvent& event, bool down) {
  PlatformRawInput input{};
  input.window = window.handle;
  input.point = OuterPoint(window, event.x, event.y);
  switch (event.button) {
  case Button1:
  case Button2:
  case Button3:
    input.kind = down ? PLATFORM_RAW_BUTTON_DOWN : PLATFORM_RAW_BUTTON_UP;
    input.button = event.button == Button1   ? PLATFORM_BUTTON_LEFT
                   : event.button == Button2 ? PLATFORM_BUTTON_MIDDLE
                                             : PLATFORM_BUTTON_RIGHT;
    break;
  case Button4:
  case Button5:
    if (!down)
      return;
    input.kind = PLATFORM_RAW_WHEEL;
    input.wheelDelta = event.button == Button4 ? kWheelStep : -kWheelStep;
    break;
  default:
    return;
  }
  Deliver(input);
}

void X11Display::HandleKey(TopLevel& window, XKeyEvent& event, bool down) {
  UINT vk = PlatformX11VirtualKey(XLookupKeysym(&event, 0));
  if (!down) {
    if (vk) {
      PlatformRawInput input{};
      input.kind = PLATFORM_RAW_KEY_UP;
      input.window = window.handle;
      input.vk = vk;
      Deliver(input);
    }
    return;
  }
  KeySym keysym = NoSymbol;
  std::string typed = window.input.Lookup(event, &keysym);
  // A key the window system knows types through its virtual key; anything
  // else (an input method's text, another layout's letters) comes as text.
  if (vk && event.keycode != 0) {
    PlatformRawInput input{};
    input.kind = PLATFORM_RAW_KEY_DOWN;
    input.window = window.handle;
    input.vk = vk;
    Deliver(input);
    return;
  }
  std::string text = ToCp936(typed);
  for (size_t at = 0; at < text.size();) {
    size_t length = 0;
    while (at + length < text.size() && length < kTextChunk)
      length +=
          static_cast<unsigned char>(text[at + length]) >= 0x80 && at + length + 1 < text.size() ? 2 : 1;
    PlatformRawInput input{};
    input.kind = PLATFORM_RAW_TEXT;
    input.window = window.handle;
    std::memcpy(input.text, text.data() + at, length);
    Deliver(input);
    at += length;
  }
}

void X11Display::HandleConfigure(TopLevel& window, const XConfigureEvent& event) {
  if (event.serial < window.configureSerial)
    return;
  int x = 0, y = 0;
  Window child = 0;
  if (!XTranslateCoordinates(display_, window.xid, DefaultRootWindow(display_), 0, 0, &x, &y, &child))
    return;
  RECT client{x, y, x + event.width, y + event.height};
  if (std::memcmp(&client, &window.client, sizeof client) == 0)
    return;
  RECT outer{client.left - (window.client.left - window.outer.left),
             client.top - (window.client.top - window.outer.top),
             client.right + (window.outer.right - window.client.right),
             client.bottom + (window.outer.bottom - window.client.bottom)};
  bool resized = Width(client) != Width(window.client) || Height(client) != Height(window.client);
  window.client = client;
  window.outer = outer;
  if (resized)
    window.surface->Resize(Positive(Width(client)), Positive(Height(client)));
  PlatformRawInput input{};
  input.kind = PLATFORM_RAW_MOVED;
  input.window = window.handle;
  input.rect = outer;
  Deliver(input);
}

// The window manager iconified or restored the window itself.
void X11Display::HandleState(TopLevel& window) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, window.xid, atoms_.wmState, 0, 2, False, atoms_.wmState, &type, &format,
                         &count, &after, &data) != Success ||
      !data || count < 1) {
    if (data)
      XFree(data);
    return;
  }
  long state = reinterpret_cast<long*>(data)[0];
  XFree(data);
  bool iconic = state == IconicState;
  if (iconic == window.iconic || window.shown == DisplayShow::Hidden)
    return;
  window.iconic = iconic;
  window.shown = iconic ? DisplayShow::Minimized : DisplayShow::Normal;
  PlatformRawInput input{};
  input.kind = iconic ? PLATFORM_RAW_MINIMIZE : PLATFORM_RAW_RESTORE;
  input.window = window.handle;
  Deliver(input);
}

void X11Display::HandleClientMessage(TopLevel& window, const XClientMessageEvent& event) {
  if (event.message_type != atoms_.wmProtocols || event.format != 32)
    return;
  auto protocol = static_cast<Atom>(event.data.l[0]);
  if (protocol == atoms_.wmDeleteWindow) {
    PlatformRawInput input{};
    input.kind = PLATFORM_RAW_CLOSE;
    input.window = window.handle;
    Deliver(input);
  } else if (protocol == atoms_.netWmPing) {
    XEvent reply{};
    reply.xclient = event;
    reply.xclient.window = DefaultRootWindow(display_);
    XSendEvent(display_, DefaultRootWindow(display_), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &reply);
  }
}

} // namespace x11display

namespace {

DisplayBackend* MakeX11Display() { return x11display::X11Display::Open().release(); }

// Registered when libuser32 loads this library for CANTIVA_DISPLAY=x11.
[[maybe_unused]] const bool kRegistered = (PlatformRegisterDisplayBackend("x11", &MakeX11Display), true);

} // namespace
