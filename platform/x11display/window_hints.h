// What an X window tells the window manager about a top-level window: the
// atoms, and the properties that follow from the window's styles, title,
// icon and owner. Display thread only (they are Xlib calls).
//
// A window without WS_THICKFRAME gets a fixed size (minimum = maximum
// size); one without WS_MAXIMIZEBOX loses the maximise function and button;
// the position is the client area's own (static gravity), as the window
// system places the client area.
#pragma once

#include "win/types.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace x11display {

struct Atoms {
  explicit Atoms(Display* display);

  Atom wmProtocols, wmDeleteWindow, wmState, wmChangeState;
  Atom netWmName, netWmIcon, netWmPid, netWmPing, netWmState, netWmStateModal, netWmStateAbove;
  Atom netWmStateMaxVert, netWmStateMaxHorz, netWmStateHidden, netWmWindowType, netWmWindowTypeNormal;
  Atom netWmWindowTypeDialog, netActiveWindow, netSupportingWmCheck, motifWmHints, utf8String;
};

struct WindowLook {
  DWORD style;
  DWORD exStyle;
  int width; // client area
  int height;
  int x; // client area on the screen
  int y;
  bool owned;
  bool topmost;
};

void SetSizeHints(Display* display, Window window, const WindowLook& look);
void SetMotifHints(Display* display, Window window, const Atoms& atoms, DWORD style);
// `utf8`: the title in UTF-8.
void SetTitle(Display* display, Window window, const Atoms& atoms, const std::string& utf8);
// `argb`: width * height pixels, rows from the top. The window manager gets
// the icon at its own size and at 16 by 16.
void SetIcon(Display* display, Window window, const Atoms& atoms, const uint32_t* argb, int width,
             int height);
// Properties set once before the window is first mapped: protocols, class,
// process, window type, initial states, transient owner.
void SetStartProperties(Display* display, Window window, const Atoms& atoms, const WindowLook& look,
                        Window owner);
// Asks the window manager to add or remove a _NET_WM_STATE of a mapped window.
void ChangeState(Display* display, Window window, const Atoms& atoms, Atom state, bool on);

// The icon scaled to `size` by averaging (premultiplied), as 0xAARRGGBB.
std::vector<uint32_t> ScaleIcon(const uint32_t* argb, int width, int height, int size);

} // namespace x11display
