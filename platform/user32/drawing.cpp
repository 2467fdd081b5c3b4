// System colours and the drawing calls the window system paints with, on
// top of the display's painter.
#include "user32/paint.h"

#include "gdi32/painter.h"
#include "user32/rect.h"

#include <mutex>

namespace {

// The classic scheme.
constexpr COLORREF kSystemColors[] = {
    RGB(212, 208, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(212, 208, 200), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(212, 208, 200), // COLOR_ACTIVEBORDER
    RGB(212, 208, 200), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),    // COLOR_3DDKSHADOW
    RGB(212, 208, 200), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(181, 181, 181), // (unused)
    RGB(0, 0, 128),     // COLOR_HOTLIGHT
    RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200), // COLOR_MENUBAR
};
constexpr int kColorCount = static_cast<int>(sizeof kSystemColors / sizeof kSystemColors[0]);

bool IsSystemColorBrush(HBRUSH brush) {
  auto value = reinterpret_cast<uintptr_t>(brush);
  return value >= 1 && value <= static_cast<uintptr_t>(kColorCount);
}

LONG Thickness(UINT edge) { return ((edge & 0x3) ? 1 : 0) + ((edge & 0xC) ? 1 : 0); }

} // namespace

DWORD GetSysColor(int index) { return index >= 0 && index < kColorCount ? kSystemColors[index] : 0; }

HBRUSH GetSysColorBrush(int index) {
  static HBRUSH brushes[kColorCount];
  static std::once_flag made;
  std::call_once(made, [] {
    for (int i = 0; i < kColorCount; i++)
      brushes[i] = PlatformGdiCreatePermanentBrush(kSystemColors[i]);
  });
  return index >= 0 && index < kColorCount ? brushes[index] : nullptr;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || !rect || !brush)
    return 0;
  COLORREF color = 0;
  if (IsSystemColorBrush(brush))
    color = GetSysColor(static_cast<int>(reinterpret_cast<uintptr_t>(brush)) - 1);
  else if (!PlatformGdiGetBrushColor(brush, &color))
    return 1; // the hollow brush paints nothing
  painter->FillRect(*rect, color);
  return 1;
}

BOOL DrawEdge(HDC dc, RECT* rect, UINT edge, UINT flags) {
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || !rect)
    return FALSE;
  painter->DrawEdge(*rect, edge & 0xF, flags & BF_RECT);
  RECT inside = *rect;
  LONG thick = Thickness(edge);
  if (flags & BF_LEFT)
    inside.left += thick;
  if (flags & BF_TOP)
    inside.top += thick;
  if (flags & BF_RIGHT)
    inside.right -= thick;
  if (flags & BF_BOTTOM)
    inside.bottom -= thick;
  if ((flags & BF_MIDDLE) && !IsRectEmpty(&inside))
    painter->FillRect(inside, GetSysColor(COLOR_BTNFACE));
  if (flags & BF_ADJUST)
    *rect = inside;
  return TRUE;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect) {
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || !rect)
    return FALSE;
  painter->DrawFocusRect(*rect);
  return TRUE;
}

BOOL DrawFrameControl(HDC dc, RECT* rect, UINT type, UINT state) {
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || !rect || type != DFC_BUTTON)
    return FALSE;
  bool pushed = state & DFCS_PUSHED;
  if (state & DFCS_BUTTONPUSH) {
    painter->FillRect(*rect, GetSysColor(COLOR_BTNFACE));
    painter->DrawEdge(*rect, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    return TRUE;
  }
  int check = 0;
  if (state & DFCS_CHECKED)
    check = (state & DFCS_BUTTON3STATE) ? 2 : 1;
  painter->DrawCheckBox(*rect, check, pushed, !(state & DFCS_INACTIVE));
  return TRUE;
}
