// Window geometry and state that follows from the tree of windows
// (internal to libuser32). Every function here runs under the window
// system's lock.
#pragma once

#include "user32/window_system.h"

namespace user32 {

struct Insets {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

constexpr LONG kFrameWidth = 3;
constexpr LONG kBorderWidth = 1;
constexpr LONG kCaptionHeight = 19;
constexpr LONG kClientEdgeWidth = 2;

// Between the outer rectangle and the client area.
Insets FrameInsets(DWORD style, DWORD exStyle);
LONG Width(const RECT& rect);
LONG Height(const RECT& rect);
// {0, 0, client width, client height}.
RECT ClientRectOf(const Window& window);
// The client area in the window's own outer coordinates.
RECT ClientAreaInWindow(const Window& window);
POINT WindowOriginOnScreen(const WindowSystem& system, const Window& window);
POINT ClientOriginOnScreen(const WindowSystem& system, const Window& window);
RECT ScreenRectOf(const WindowSystem& system, const Window& window);
RECT ClientScreenRectOf(const WindowSystem& system, const Window& window);
// What WM_MOVE carries: the client area's corner, in the parent's client
// coordinates (on the screen for a top-level window).
POINT ClientCornerInParent(const WindowSystem& system, const Window& window);
std::shared_ptr<Window> TopLevelOf(const WindowSystem& system, const std::shared_ptr<Window>& window);
// It and every parent have WS_VISIBLE, and its top-level window is not minimised.
bool ShowsOnScreen(const WindowSystem& system, const Window& window);
bool VisibleWithParents(const WindowSystem& system, const Window& window);
bool EnabledWithParents(const WindowSystem& system, const Window& window);
// `window` is `ancestor` or lies inside it.
bool IsSelfOrDescendant(const WindowSystem& system, HWND ancestor, HWND window);
// The client area of the window clipped by its parents' client areas, in
// the window's client coordinates.
RECT VisibleClientRect(const WindowSystem& system, const Window& window);

} // namespace user32
