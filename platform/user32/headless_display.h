// The headless display, and what tests use to drive it.
//
// The headless display shows nothing: it keeps the state of each top-level
// window and records what each window drew in its last paint (text runs
// with their rectangles, the check box state), so a test can ask what a
// window shows. Its screen is 1024 by 768 unless a test sets another.
//
// The input calls work with any display and from any thread: they hand raw
// events to the window system, which queues them to the thread that owns
// the window and turns them into messages there. To see the effect, pump
// that thread (PlatformTestPumpMessages on the same thread) or wait for it
// (PlatformTestWaitIdle from another one), see user32/window_system_test.h.
#pragma once

#include "gdi32/geometry.h"
#include "user32/display_backend.h"

PLATFORM_API void PlatformTestSetScreenSize(int width, int height);

// Input, at screen coordinates unless said otherwise.
PLATFORM_API BOOL PlatformTestInjectInput(const PlatformRawInput* input);
PLATFORM_API BOOL PlatformTestMouseMove(int x, int y);
PLATFORM_API BOOL PlatformTestMouseButton(int button, BOOL down, int x, int y);
// Left button down and up at the point.
PLATFORM_API BOOL PlatformTestClick(int x, int y);
// The same at a point of the window's client area.
PLATFORM_API BOOL PlatformTestClickWindow(HWND window, int x, int y);
PLATFORM_API BOOL PlatformTestWheel(int x, int y, int delta);
PLATFORM_API BOOL PlatformTestKey(UINT virtualKey, BOOL down);
// Down and up.
PLATFORM_API BOOL PlatformTestPressKey(UINT virtualKey);
// Code page 936 text typed into the focus window: one WM_CHAR per byte, a
// two-byte character as its lead byte and then its trail byte.
PLATFORM_API BOOL PlatformTestTypeText(LPCSTR text);
// The close box of a top-level window.
PLATFORM_API BOOL PlatformTestRequestClose(HWND window);

// One run of text a window drew, in its client coordinates.
struct PlatformTextRun {
  RECT rect;
  UINT align; // DT_LEFT, DT_CENTER or DT_RIGHT
  COLORREF color;
  char text[256]; // code page 936, NUL-terminated (cut to fit)
};

// The runs of the window's last paint, in drawing order: copies up to
// `capacity` into `runs` and returns how many there are.
PLATFORM_API int PlatformTestWindowTextRuns(HWND window, PlatformTextRun* runs, int capacity);
// The same as text: runs on one line (same top) joined left to right,
// lines joined by "\n". Returns the full length; copies what fits.
PLATFORM_API int PlatformTestWindowShownText(HWND window, LPSTR buffer, int capacity);
// The check box state drawn last (0, 1, 2), or -1 when the last paint drew
// none.
PLATFORM_API int PlatformTestWindowCheckMark(HWND window);
// How many times the window began a paint.
PLATFORM_API int PlatformTestWindowPaintCount(HWND window);

// The display's side of a top-level window.
struct PlatformNativeWindow {
  BOOL exists;
  BOOL visible;
  BOOL minimized;
  BOOL maximized;
  BOOL topmost;
  RECT outer;
  RECT client;
  char title[256]; // code page 936
};
PLATFORM_API BOOL PlatformTestNativeWindow(HWND window, PlatformNativeWindow* state);
