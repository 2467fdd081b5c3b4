// The X11 display: one X window per top-level window, sized to its client
// area and framed by the window manager; painting into an in-memory
// surface per window, copied to the X window after each paint and on
// Expose; X input turned into the window system's raw input.
//
// Only the display thread (the one that created the first top-level
// window, and that calls Pump) makes Xlib calls. A call from another
// thread (a window that a worker thread owns) is queued and the display
// thread is woken through the wake-up descriptor, which EventFd covers
// together with the X connection (one epoll descriptor over both).
// Painting needs no X call at all, so it never waits for the display
// thread.
#pragma once

#include "user32/display_backend.h"
#include "x11display/input_method.h"
#include "x11display/surface.h"
#include "x11display/window_hints.h"

#include <X11/Xlib.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace x11display {

// What both the display and its painters (which may outlive it) share.
struct SharedState {
  SharedState();
  SharedState(const SharedState&) = delete;
  SharedState& operator=(const SharedState&) = delete;
  ~SharedState();

  void Wake() const;
  // Takes the wake-ups so far.
  void Drain() const;
  // The first thread that asks becomes the display thread.
  bool OnDisplayThread();

  std::mutex mutex;
  std::optional<std::thread::id> displayThread;
  std::vector<std::function<void()>> pending; // calls for the display thread
  const int wakeFd;                           // eventfd, owned
};

class X11Display : public DisplayBackend {
public:
  // Null when the X display cannot be opened.
  static std::unique_ptr<X11Display> Open();
  ~X11Display() override;

  SIZE ScreenSize() override { return screen_; }
  int EventFd() override { return pollFd_; }
  void Pump() override;

  void CreateWindow(const DisplayWindow& window) override;
  void DestroyWindow(HWND window) override;
  void ShowWindow(HWND window, DisplayShow show) override;
  void MoveWindow(HWND window, const RECT& outer, const RECT& client) override;
  void SetTitle(HWND window, const char* title) override;
  void SetTopmost(HWND window, bool topmost) override;
  void Activate(HWND window) override;
  void Beep() override;
  std::unique_ptr<Painter> BeginPaint(const PaintTarget& target) override;

  // The X window of a top-level window (0 while it does not exist yet);
  // display thread only.
  Window XWindowOf(HWND window) const;

private:
  struct TopLevel {
    HWND handle = nullptr;
    Window xid = 0;
    RECT outer{};
    RECT client{};
    DWORD style = 0;
    DisplayShow shown = DisplayShow::Hidden;
    bool mapped = false;
    bool iconic = false;
    bool wantsFocus = false;
    unsigned long configureSerial = 0; // events older than our last move tell nothing new
    InputContext input;
    std::shared_ptr<Surface> surface;
  };

  X11Display(Display* display, int pollFd, std::shared_ptr<SharedState> shared);

  // Runs `call` now on the display thread, or queues it for the display thread.
  void OnDisplayThread(std::function<void()> call);
  void RunPending();

  void Create(const DisplayWindow& window, HWND owner, std::vector<uint32_t> icon, int iconWidth,
              int iconHeight, std::string title);
  void Show(TopLevel& window, DisplayShow show);
  void Move(TopLevel& window, const RECT& outer, const RECT& client);
  void SetFocusTo(TopLevel& window);
  bool HasWindowManager();
  void CopyToScreen(TopLevel& window);

  TopLevel* Find(HWND handle);
  TopLevel* FindX(Window xid);
  void Handle(XEvent& event);
  void HandleButton(TopLevel& window, const XButtonEvent& event, bool down);
  void HandleKey(TopLevel& window, XKeyEvent& event, bool down);
  void HandleConfigure(TopLevel& window, const XConfigureEvent& event);
  void HandleState(TopLevel& window);
  void HandleClientMessage(TopLevel& window, const XClientMessageEvent& event);
  void Deliver(PlatformRawInput input);
  POINT OuterPoint(const TopLevel& window, int x, int y) const;

  Display* display_;
  int pollFd_;
  std::shared_ptr<SharedState> shared_;
  SIZE screen_{};
  Atoms atoms_;
  std::unique_ptr<InputMethod> inputMethod_;
  GC gc_;
  std::map<HWND, TopLevel> windows_; // display thread only

  std::mutex surfacesMutex_;
  std::map<HWND, std::shared_ptr<Surface>> surfaces_; // any thread
};

} // namespace x11display
