// The display behind the window system: the one small interface a display
// (headless, X11) implements, and how the window system picks one.
//
// The core owns every window, class, queue and control; a display only
// shows top-level windows, paints what the core draws and reports raw
// input. The core never includes a display header. Rules a display can
// rely on and must keep:
// - Every call about a window comes on the thread that owns that window.
//   EventFd and Pump are called only on the display thread: the thread that
//   created the first top-level window.
// - The display thread sleeps in one poll() over its wake-up descriptor
//   (an eventfd) and EventFd(); before each sleep, and whenever EventFd() is
//   readable, the core calls Pump(), which must drain everything the display
//   has buffered (Xlib buffers events, so the descriptor alone can miss
//   them) without blocking.
// - Raw input goes back through PlatformDeliverRawInput, from any thread;
//   the core queues it to the thread that owns the window and turns it into
//   messages there (hit testing, capture, double clicks, focus).
// - Texts are code page 936 bytes; a display converts them at its edge
//   (PlatformCp936ToUtf8 in kernel32/conversion.h).
// - Geometry follows the core's classic metrics (user32/window_geometry.h):
//   a display gets both the outer and the client rectangle and decides how
//   to show the frame and caption; when the window manager moves a window
//   the display reports it (PLATFORM_RAW_MOVED).
//
// Choosing: CANTIVA_DISPLAY=headless (what the tests set) selects the
// headless display; any other value names a registered display; when it is
// unset the core tries "x11". A display named N registers itself with
// PlatformRegisterDisplayBackend from a static initialiser of its library;
// when no display of that name is registered the core first loads
// lib<N>display.so from the folder of libuser32.so (then along the library
// path), so libx11display.so registering "x11" is all the X11 display needs.
// A factory that cannot open its display returns null, and the core falls
// back to the headless display.
#pragma once

#include "gdi32/painter.h"
#include "user32/window.h"

#include <memory>

// Raw input kinds.
constexpr int PLATFORM_RAW_MOUSE_MOVE = 1;
constexpr int PLATFORM_RAW_BUTTON_DOWN = 2;
constexpr int PLATFORM_RAW_BUTTON_UP = 3;
constexpr int PLATFORM_RAW_WHEEL = 4;
constexpr int PLATFORM_RAW_KEY_DOWN = 5;
constexpr int PLATFORM_RAW_KEY_UP = 6;
constexpr int PLATFORM_RAW_TEXT = 7;   // typed text no virtual key gives (an input method), GBK
constexpr int PLATFORM_RAW_CLOSE = 8;  // the close box or the window manager's close
constexpr int PLATFORM_RAW_EXPOSE = 9; // `rect` (client coordinates of `window`) must be painted again
constexpr int PLATFORM_RAW_MOVED =
    10; // the window manager moved or sized the window: `rect` is the outer rectangle
constexpr int PLATFORM_RAW_MINIMIZE = 11;
constexpr int PLATFORM_RAW_RESTORE = 12;

constexpr int PLATFORM_BUTTON_LEFT = 0;
constexpr int PLATFORM_BUTTON_RIGHT = 1;
constexpr int PLATFORM_BUTTON_MIDDLE = 2;

struct PlatformRawInput {
  int kind;
  HWND window;    // the top-level window it is about; null: `point` is on the screen
  POINT point;    // mouse: relative to the window's outer corner, or the screen
  int button;     // PLATFORM_BUTTON_*
  int wheelDelta; // multiples of WHEEL_DELTA, positive away from the user
  UINT vk;        // virtual-key code
  char text[16];  // PLATFORM_RAW_TEXT: NUL-terminated code page 936 bytes
  RECT rect;
  DWORD time; // on the message clock (GetMessageTime); 0 means now
};

// Queues the event to the thread that owns its window (or the window under
// the point, the capture, the focus). FALSE when no window takes it.
PLATFORM_API BOOL PlatformDeliverRawInput(const PlatformRawInput* input);

// The milliseconds of the message clock now.
PLATFORM_API DWORD PlatformMessageClock();

enum class DisplayShow { Hidden, Normal, Minimized, Maximized };

struct DisplayWindow {
  HWND window;
  RECT outer;  // screen coordinates
  RECT client; // screen coordinates
  const char* title;
  DWORD style;
  DWORD exStyle;
  HICON icon; // the class icon; PlatformIconPixels gives its pixels
  bool topmost;
};

// What a painter paints: one window of a top-level window's surface.
struct PaintTarget {
  HWND window;      // null: the screen (measuring only, draws nothing)
  HWND topLevel;    // the top-level window whose surface shows it
  POINT origin;     // the painter's 0, 0 in the top-level window's client coordinates
  RECT clip;        // in the painter's coordinates
  bool beginsPaint; // a WM_PAINT of the window starts: its earlier picture is replaced
};

class DisplayBackend {
public:
  virtual ~DisplayBackend() = default;

  virtual SIZE ScreenSize() = 0;
  // -1 when the display has no events of its own.
  virtual int EventFd() { return -1; }
  virtual void Pump() {}

  // Top-level windows only.
  virtual void CreateWindow(const DisplayWindow& window) = 0;
  virtual void DestroyWindow(HWND window) = 0;
  virtual void ShowWindow(HWND window, DisplayShow show) = 0;
  virtual void MoveWindow(HWND window, const RECT& outer, const RECT& client) = 0;
  virtual void SetTitle(HWND window, const char* title) = 0;
  virtual void SetTopmost(HWND window, bool topmost) = 0;
  virtual void Activate(HWND) {}

  virtual std::unique_ptr<Painter> BeginPaint(const PaintTarget& target) = 0;
  virtual void Beep() {}
};

// Returns null when the display cannot be opened.
using PlatformDisplayBackendFactory = DisplayBackend* (*)();
PLATFORM_API void PlatformRegisterDisplayBackend(const char* name, PlatformDisplayBackendFactory factory);
// The name of the display in use ("headless", "x11", ...).
PLATFORM_API const char* PlatformDisplayName();
