#include "gdi32/dc.h"
#include "gdi32/object_table.h"

#include <cstring>
#include <utility>

using gdi32::DcObject;
using gdi32::GdiObject;
using gdi32::Objects;

namespace {

// Runs `f` on the DC under the table's lock; false when `dc` is no DC.
template <typename F> bool WithDc(HDC dc, F&& f) {
  bool is_dc = false;
  Objects().With(dc, [&](GdiObject& o) {
    if (auto* d = std::get_if<DcObject>(&o)) {
      f(*d);
      is_dc = true;
    }
  });
  return is_dc;
}

enum class Slot { None, Font, Brush, Pen };

Slot SlotOf(HGDIOBJ object) {
  Slot slot = Slot::None;
  Objects().With(object, [&](GdiObject& o) {
    if (std::holds_alternative<gdi32::FontObject>(o))
      slot = Slot::Font;
    else if (std::holds_alternative<gdi32::BrushObject>(o))
      slot = Slot::Brush;
    else if (std::holds_alternative<gdi32::PenObject>(o))
      slot = Slot::Pen;
  });
  return slot;
}

} // namespace

HDC PlatformGdiCreatePainterDC(Painter* painter) {
  if (!painter)
    return nullptr;
  DcObject dc{std::unique_ptr<Painter>(painter),
              GetStockObject(SYSTEM_FONT),
              GetStockObject(WHITE_BRUSH),
              GetStockObject(BLACK_PEN),
              RGB(0, 0, 0),
              RGB(255, 255, 255),
              OPAQUE};
  return static_cast<HDC>(Objects().Add(std::move(dc)));
}

Painter* PlatformGdiPainterOf(HDC dc) {
  Painter* painter = nullptr;
  WithDc(dc, [&](DcObject& d) { painter = d.painter.get(); });
  return painter;
}

BOOL PlatformGdiGetDcState(HDC dc, PlatformDcState* state) {
  if (!state)
    return FALSE;
  return WithDc(dc,
                [&](DcObject& d) {
                  *state = {static_cast<HFONT>(d.font), static_cast<HBRUSH>(d.brush), d.textColor, d.bkColor,
                            d.bkMode};
                })
             ? TRUE
             : FALSE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  Slot slot = SlotOf(object);
  if (slot == Slot::None)
    return nullptr;
  HGDIOBJ previous = nullptr;
  WithDc(dc, [&](DcObject& d) {
    HGDIOBJ& selected = slot == Slot::Font ? d.font : slot == Slot::Brush ? d.brush : d.pen;
    previous = selected;
    selected = object;
  });
  return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
  COLORREF previous = CLR_INVALID;
  WithDc(dc, [&](DcObject& d) { previous = std::exchange(d.textColor, color & 0x00FFFFFF); });
  return previous;
}

COLORREF GetTextColor(HDC dc) {
  COLORREF color = CLR_INVALID;
  WithDc(dc, [&](DcObject& d) { color = d.textColor; });
  return color;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  COLORREF previous = CLR_INVALID;
  WithDc(dc, [&](DcObject& d) { previous = std::exchange(d.bkColor, color & 0x00FFFFFF); });
  return previous;
}

COLORREF GetBkColor(HDC dc) {
  COLORREF color = CLR_INVALID;
  WithDc(dc, [&](DcObject& d) { color = d.bkColor; });
  return color;
}

int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE)
    return 0;
  int previous = 0;
  WithDc(dc, [&](DcObject& d) { previous = std::exchange(d.bkMode, mode); });
  return previous;
}

int GetBkMode(HDC dc) {
  int mode = 0;
  WithDc(dc, [&](DcObject& d) { mode = d.bkMode; });
  return mode;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
  PlatformDcState state{};
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || !size || length < 0 || (length > 0 && !text) || !PlatformGdiGetDcState(dc, &state))
    return FALSE;
  PlatformFontSpec font{};
  PlatformGdiGetFont(state.font, &font);
  *size = painter->MeasureText(text ? text : "", length, font);
  return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  PlatformDcState state{};
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || length < 0 || (length > 0 && !text) || !PlatformGdiGetDcState(dc, &state))
    return FALSE;
  PlatformFontSpec font{};
  PlatformGdiGetFont(state.font, &font);
  SIZE extent = painter->MeasureText(text ? text : "", length, font);
  RECT rect{x, y, x + extent.cx, y + extent.cy};
  if (state.bkMode == OPAQUE)
    painter->FillRect(rect, state.bkColor);
  painter->DrawTextLine(rect, text ? text : "", length, font, state.textColor, TextAlign::Left);
  return TRUE;
}

BOOL DeleteDC(HDC dc) {
  if (!WithDc(dc, [](DcObject&) {}))
    return FALSE;
  return Objects().Delete(dc) ? TRUE : FALSE;
}
