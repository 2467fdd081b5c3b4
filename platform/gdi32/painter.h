// The drawing interface between the window system and a display.
//
// A Painter draws into one window (or measures only, for the screen DC) in
// that window's coordinates; the display that made it clips to the target's
// clip rectangle and shows the result at the latest when the painter is
// destroyed. Everything the window system and its controls paint goes
// through these few calls, so a display (headless, X11) implements only
// them. Texts are code page 936 bytes; a display converts them at its own
// edge. A painter is used on the thread that owns its window.
//
// The window system makes DCs around painters with PlatformGdiCreatePainterDC
// and reads the DC's state back with the other PlatformGdi calls here; they
// are what user32 builds FillRect, DrawTextA and DrawEdge on.
#pragma once

#include "gdi32/gdi.h"

// A font as a display needs it. A null or unknown HFONT reads as the system
// font.
struct PlatformFontSpec {
  char face[LF_FACESIZE]; // code page 936, NUL-terminated
  int height;             // as CreateFontA took it: > 0 cell, < 0 character height, 0 default
  int weight;
  BYTE italic;
  BYTE underline;
  BYTE strikeOut;
  BYTE charSet;
};

enum class TextAlign { Left, Center, Right };

class Painter {
public:
  virtual ~Painter() = default;

  virtual void FillRect(const RECT& rect, COLORREF color) = 0;
  // A 3D border inside the rectangle: `edge` is a set of BDR_* bits
  // (raised/sunken, outer/inner ring), `sides` a set of BF_* side bits.
  virtual void DrawEdge(const RECT& rect, UINT edge, UINT sides) = 0;
  // One line of text, its top at rect.top, aligned between rect.left and
  // rect.right and clipped to the rectangle. Line breaking is the caller's.
  virtual void DrawTextLine(const RECT& rect, const char* text, int length, const PlatformFontSpec& font,
                            COLORREF color, TextAlign align) = 0;
  // The box of a check box (or radio button) in the rectangle: state 0
  // unticked, 1 ticked, 2 indeterminate.
  virtual void DrawCheckBox(const RECT& rect, int state, bool pushed, bool enabled) = 0;
  // ARGB pixels (0xAARRGGBB, rows from the top), top left at rect's corner,
  // clipped to rect.
  virtual void DrawBitmap(const RECT& rect, const uint32_t* argb, int width, int height) = 0;
  virtual void DrawFocusRect(const RECT& rect) = 0;
  // Width of the text and height of one line in the font.
  virtual SIZE MeasureText(const char* text, int length, const PlatformFontSpec& font) = 0;
};

struct PlatformDcState {
  HFONT font;
  HBRUSH brush;
  COLORREF textColor;
  COLORREF bkColor;
  int bkMode;
};

// Takes ownership of the painter; DeleteDC destroys it.
PLATFORM_API HDC PlatformGdiCreatePainterDC(Painter* painter);
// The DC's painter (owned by the DC), or null.
PLATFORM_API Painter* PlatformGdiPainterOf(HDC dc);
PLATFORM_API BOOL PlatformGdiGetDcState(HDC dc, PlatformDcState* state);
// Always fills `font_spec`: an unknown font reads as the system font (FALSE).
PLATFORM_API BOOL PlatformGdiGetFont(HFONT font, PlatformFontSpec* font_spec);
// FALSE for an unknown brush or the hollow brush (nothing to paint).
PLATFORM_API BOOL PlatformGdiGetBrushColor(HBRUSH brush, COLORREF* color);
// The pixels stay valid until the bitmap is deleted.
PLATFORM_API BOOL PlatformGdiGetBitmapPixels(HBITMAP bitmap, const uint32_t** argb, int* width, int* height);
// A solid brush that DeleteObject leaves alone, like a stock object
// (the system colour brushes).
PLATFORM_API HBRUSH PlatformGdiCreatePermanentBrush(COLORREF color);
