// What the window system knows of one window and one class (internal to
// libuser32).
//
// Every field of Window but `control` is guarded by the window system's
// mutex. `control` (a system control's own state) is touched only on the
// owner thread, inside the control's window procedure, without the lock;
// a procedure that holds the shared pointer of its window keeps that state
// alive even when the window is destroyed under it.
#pragma once

#include "gdi32/geometry.h"
#include "user32/window.h"

#include <memory>
#include <string>
#include <vector>

namespace user32 {

class ThreadQueue;

struct ControlState {
  virtual ~ControlState() = default;
};

struct WindowClass {
  std::string name;
  std::string key; // the name with ASCII letters lowered
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuName;
  bool system = false;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<const WindowClass> windowClass;
  std::shared_ptr<ThreadQueue> queue; // the owner thread's; never changes
  HWND parent = nullptr;              // of a WS_CHILD window
  HWND owner = nullptr;               // of a top-level window
  std::vector<HWND> children;         // z-order, top first
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{}; // outer: screen coordinates, or the parent's client coordinates
  std::string text;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  std::vector<unsigned char> extra;

  bool needsPaint = false;
  bool needsErase = false;
  RECT update{}; // client coordinates, valid while needsPaint

  bool destroying = false; // DestroyWindow has begun; still a window until WM_NCDESTROY
  bool minimized = false;
  bool maximized = false;
  RECT normalRect{}; // where a maximised window goes back to
  bool topmost = false;
  bool native = false; // the display shows it (a top-level window)

  std::unique_ptr<ControlState> control;
};

} // namespace user32
