// The "Static" control: a text (wrapped at the control's width), a bitmap,
// an etched line or a filled rectangle. It takes no input unless SS_NOTIFY
// (clicks on it go to what lies beneath, see input_router.cpp).
#include "user32/control_support.h"
#include "user32/controls.h"
#include "user32/rect.h"
#include "user32/system_classes.h"
#include "user32/window_geometry.h"
#include "user32/window_ops.h"

#include "gdi32/painter.h"

namespace user32 {
namespace {

struct StaticState : ControlBase {
  HBITMAP image = nullptr;
};

UINT TextFormat(DWORD style) {
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
  case SS_CENTER:
    format |= DT_CENTER | DT_WORDBREAK;
    break;
  case SS_RIGHT:
    format |= DT_RIGHT | DT_WORDBREAK;
    break;
  case SS_SIMPLE:
    format |= DT_SINGLELINE;
    break;
  case SS_LEFTNOWORDWRAP:
    break;
  default:
    format |= DT_WORDBREAK;
    break;
  }
  if (style & SS_NOPREFIX)
    format |= DT_NOPREFIX;
  return format;
}

bool ShowsText(DWORD style) {
  DWORD type = style & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
         type == SS_LEFTNOWORDWRAP;
}

void PaintBitmap(HDC dc, HBITMAP image, DWORD style, const RECT& client) {
  const uint32_t* argb = nullptr;
  int width = 0, height = 0;
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!painter || !PlatformGdiGetBitmapPixels(image, &argb, &width, &height))
    return;
  RECT at{0, 0, width, height};
  if (style & SS_CENTERIMAGE)
    OffsetRect(&at, (client.right - width) / 2, (client.bottom - height) / 2);
  painter->DrawBitmap(at, argb, width, height);
}

void Paint(HWND window, const StaticState& state) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (!dc)
    return;
  DWORD style = StyleOf(window);
  RECT client = ClientArea(window);
  FillRect(dc, &client, ControlBrush(window, dc, WM_CTLCOLORSTATIC));
  switch (style & SS_TYPEMASK) {
  case SS_BITMAP:
    PaintBitmap(dc, state.image, style, client);
    break;
  case SS_ETCHEDHORZ:
    DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
    break;
  case SS_ETCHEDVERT:
    DrawEdge(dc, &client, EDGE_ETCHED, BF_LEFT);
    break;
  case SS_ETCHEDFRAME:
    DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT);
    break;
  case SS_BLACKRECT:
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    break;
  case SS_GRAYRECT:
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    break;
  case SS_WHITERECT:
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    break;
  }
  if (ShowsText(style)) {
    std::string text = ReadWindowText(window);
    SelectControlFont(dc, state);
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(window))
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client, TextFormat(style));
  }
  EndPaint(window, &paint);
}

// A bitmap label takes the bitmap's size, as on Windows.
void SizeToImage(HWND window, HBITMAP image) {
  int width = 0, height = 0;
  if (!(StyleOf(window) & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) &&
      PlatformGdiGetBitmapPixels(image, nullptr, &width, &height))
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

LRESULT StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto window = ControlWindow(handle);
  if (!window)
    return DefWindowProcA(handle, message, wParam, lParam);
  auto& state = ControlStateOf<StaticState>(*window);
  LRESULT result = 0;
  if (HandleFontMessage(state, handle, message, wParam, lParam, &result))
    return result;
  switch (message) {
  case WM_SETTEXT:
    result = DefWindowProcA(handle, message, wParam, lParam);
    Redraw(handle);
    return result;
  case WM_ENABLE:
    Redraw(handle);
    return 0;
  case WM_ERASEBKGND:
    return 1; // the paint fills the background itself
  case WM_PAINT:
    Paint(handle, state);
    return 0;
  case STM_SETIMAGE: {
    if (wParam != IMAGE_BITMAP)
      return 0;
    HBITMAP previous = std::exchange(state.image, reinterpret_cast<HBITMAP>(lParam));
    SizeToImage(handle, state.image);
    Redraw(handle);
    return reinterpret_cast<LRESULT>(previous);
  }
  case STM_GETIMAGE:
    return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(state.image) : 0;
  case WM_LBUTTONDOWN:
    if (StyleOf(handle) & SS_NOTIFY)
      NotifyParent(handle, STN_CLICKED);
    return 0;
  case WM_LBUTTONDBLCLK:
    if (StyleOf(handle) & SS_NOTIFY)
      NotifyParent(handle, STN_DBLCLK);
    return 0;
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace user32
