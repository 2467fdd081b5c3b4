#include "user32/message_box_icon.h"

#include "gdi32/painter.h"
#include "user32/message.h"
#include "user32/message_box.h"
#include "user32/paint.h"
#include "user32/private_class.h"

#include <vector>

namespace user32 {
namespace {

enum class Shape { Circle, Triangle };

struct IconLook {
  WORD id;
  Shape shape;
  uint32_t fill; // 0xAARRGGBB
  const char* glyph;
  COLORREF glyphColor;
};

constexpr IconLook kLooks[] = {
    {IDI_HAND, Shape::Circle, 0xFFD0312D, "X", RGB(255, 255, 255)},
    {IDI_QUESTION, Shape::Circle, 0xFF2B6CC4, "?", RGB(255, 255, 255)},
    {IDI_EXCLAMATION, Shape::Triangle, 0xFFF5C518, "!", RGB(0, 0, 0)},
    {IDI_ASTERISK, Shape::Circle, 0xFF2B6CC4, "i", RGB(255, 255, 255)},
};

const IconLook* LookOf(WORD id) {
  for (const IconLook& look : kLooks) {
    if (look.id == id)
      return &look;
  }
  return nullptr;
}

bool Inside(Shape shape, int x, int y) {
  constexpr double kCentre = (kMessageBoxIconSize - 1) / 2.0;
  double dx = x - kCentre;
  if (shape == Shape::Circle) {
    double dy = y - kCentre;
    double radius = kMessageBoxIconSize / 2.0 - 1;
    return dx * dx + dy * dy <= radius * radius;
  }
  constexpr int kTop = 1;
  constexpr int kBottom = kMessageBoxIconSize - 2;
  if (y < kTop || y > kBottom)
    return false;
  double halfWidth = (y - kTop) * (kCentre - 1) / (kBottom - kTop);
  return dx >= -halfWidth - 0.5 && dx <= halfWidth + 0.5;
}

uint32_t Opaque(COLORREF color) {
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(color)) << 16) |
         (static_cast<uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

// The shape on the dialog's face colour, so that no display has to blend.
std::vector<uint32_t> ShapePixels(const IconLook& look) {
  uint32_t face = Opaque(GetSysColor(COLOR_BTNFACE));
  std::vector<uint32_t> pixels(kMessageBoxIconSize * kMessageBoxIconSize);
  for (int y = 0; y < kMessageBoxIconSize; y++) {
    for (int x = 0; x < kMessageBoxIconSize; x++)
      pixels[static_cast<size_t>(y * kMessageBoxIconSize + x)] = Inside(look.shape, x, y) ? look.fill : face;
  }
  return pixels;
}

void PaintIcon(HWND window, HDC dc) {
  const IconLook* look = LookOf(static_cast<WORD>(GetWindowLongPtrA(window, GWLP_USERDATA)));
  Painter* painter = PlatformGdiPainterOf(dc);
  if (!look || !painter)
    return;
  RECT area{0, 0, kMessageBoxIconSize, kMessageBoxIconSize};
  std::vector<uint32_t> pixels = ShapePixels(*look);
  painter->DrawBitmap(area, pixels.data(), kMessageBoxIconSize, kMessageBoxIconSize);
  HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "");
  HGDIOBJ previous = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, look->glyphColor);
  if (look->shape == Shape::Triangle)
    area.top += 6; // the triangle's body sits low
  DrawTextA(dc, look->glyph, 1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  DeleteObject(font);
}

LRESULT IconProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT)
    return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint{};
  if (HDC dc = BeginPaint(window, &paint)) {
    PaintIcon(window, dc);
    EndPaint(window, &paint);
  }
  return 0;
}

} // namespace

WORD MessageBoxIconFor(UINT type) {
  switch (type & 0xF0) {
  case MB_ICONHAND:
    return IDI_HAND;
  case MB_ICONQUESTION:
    return IDI_QUESTION;
  case MB_ICONEXCLAMATION:
    return IDI_EXCLAMATION;
  case MB_ICONASTERISK:
    return IDI_ASTERISK;
  default:
    return 0;
  }
}

HWND CreateMessageBoxIcon(HWND box, WORD icon, int x, int y, int id) {
  if (!EnsurePrivateClass(PLATFORM_MESSAGE_BOX_ICON_CLASS, IconProc, 0,
                          reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_BTNFACE + 1))))
    return nullptr;
  HWND window = CreateWindowExA(0, PLATFORM_MESSAGE_BOX_ICON_CLASS, "", WS_CHILD | WS_VISIBLE, x, y,
                                kMessageBoxIconSize, kMessageBoxIconSize, box,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  if (window) {
    SetWindowLongPtrA(window, GWLP_USERDATA, icon);
    InvalidateRect(window, nullptr, TRUE);
  }
  return window;
}

} // namespace user32
