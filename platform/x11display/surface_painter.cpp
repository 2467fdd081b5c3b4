#include "x11display/surface_painter.h"

#include "user32/paint.h"
#include "x11display/text_renderer.h"

#include <algorithm>

namespace x11display {
namespace {

constexpr LONG kTickColumns = 7;

uint32_t SystemPixel(int index) { return ToPixel(GetSysColor(index)); }

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

RECT Offset(RECT rect, POINT by) {
  return {rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

// One ring of a 3D border: `light` on the top and left sides, `dark` on the
// bottom and right ones.
void Ring(Canvas& canvas, const RECT& r, UINT sides, uint32_t light, uint32_t dark) {
  if (sides & BF_TOP)
    canvas.Fill({r.left, r.top, r.right, r.top + 1}, light);
  if (sides & BF_LEFT)
    canvas.Fill({r.left, r.top, r.left + 1, r.bottom}, light);
  if (sides & BF_BOTTOM)
    canvas.Fill({r.left, r.bottom - 1, r.right, r.bottom}, dark);
  if (sides & BF_RIGHT)
    canvas.Fill({r.right - 1, r.top, r.right, r.bottom}, dark);
}

// The classic tick: seven columns three pixels high, down then up.
void Tick(Canvas& canvas, LONG left, LONG top, uint32_t rgb) {
  for (LONG column = 0; column < kTickColumns; column++) {
    LONG start = column <= 2 ? 2 + column : 6 - column;
    canvas.Fill({left + column, top + start, left + column + 1, top + start + 3}, rgb);
  }
}

} // namespace

uint32_t ToPixel(COLORREF color) {
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

SurfacePainter::SurfacePainter(std::shared_ptr<Surface> surface, const PaintTarget& target,
                               std::function<void()> painted)
    : surface_(std::move(surface)), target_(target), painted_(std::move(painted)) {}

SurfacePainter::~SurfacePainter() {
  if (drew_ && painted_)
    painted_();
}

template <typename Draw> void SurfacePainter::Paint(const RECT& rect, Draw&& draw) {
  if (!surface_ || !target_.window)
    return;
  RECT clip = Offset(Intersect(rect, target_.clip), target_.origin);
  drew_ = true;
  surface_->Paint(clip, [&](Canvas& canvas) { draw(canvas, target_.origin); });
}

void SurfacePainter::FillRect(const RECT& rect, COLORREF color) {
  Paint(rect, [&](Canvas& canvas, POINT at) { canvas.Fill(Offset(rect, at), ToPixel(color)); });
}

void SurfacePainter::DrawEdge(const RECT& rect, UINT edge, UINT sides) {
  Paint(rect, [&](Canvas& canvas, POINT at) {
    RECT ring = Offset(rect, at);
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) {
      bool raised = edge & BDR_RAISEDOUTER;
      Ring(canvas, ring, sides, SystemPixel(raised ? COLOR_3DLIGHT : COLOR_BTNSHADOW),
           SystemPixel(raised ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT));
      ring = {ring.left + ((sides & BF_LEFT) ? 1 : 0), ring.top + ((sides & BF_TOP) ? 1 : 0),
              ring.right - ((sides & BF_RIGHT) ? 1 : 0), ring.bottom - ((sides & BF_BOTTOM) ? 1 : 0)};
    }
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) {
      bool raised = edge & BDR_RAISEDINNER;
      Ring(canvas, ring, sides, SystemPixel(raised ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW),
           SystemPixel(raised ? COLOR_BTNSHADOW : COLOR_3DLIGHT));
    }
  });
}

void SurfacePainter::DrawTextLine(const RECT& rect, const char* text, int length,
                                  const PlatformFontSpec& font, COLORREF color, TextAlign align) {
  std::u32string codes = DecodeCp936(text, length);
  if (codes.empty())
    return;
  TextRenderer& renderer = TextRenderer::Get();
  LONG width = renderer.Measure(codes, font).cx;
  LONG left = align == TextAlign::Left    ? rect.left
              : align == TextAlign::Right ? rect.right - width
                                          : rect.left + (rect.right - rect.left - width) / 2;
  Paint(rect, [&](Canvas& canvas, POINT at) {
    renderer.Draw(canvas, {left + at.x, rect.top + at.y}, codes, font, ToPixel(color));
  });
}

void SurfacePainter::DrawCheckBox(const RECT& rect, int state, bool pushed, bool enabled) {
  Paint(rect, [&](Canvas& canvas, POINT at) {
    RECT box = Offset(rect, at);
    bool plain = enabled && !pushed && state != 2;
    canvas.Fill(box, SystemPixel(plain ? COLOR_WINDOW : COLOR_BTNFACE));
    Ring(canvas, box, BF_RECT, SystemPixel(COLOR_BTNSHADOW), SystemPixel(COLOR_BTNHIGHLIGHT));
    Ring(canvas, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, BF_RECT,
         SystemPixel(COLOR_3DDKSHADOW), SystemPixel(COLOR_3DLIGHT));
    if (state == 0)
      return;
    LONG inner = box.right - box.left - 4;
    LONG left = box.left + 2 + (inner - kTickColumns) / 2, top = box.top + 2 + (inner - kTickColumns) / 2;
    bool grey = !enabled || state == 2;
    Tick(canvas, left, top, SystemPixel(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  });
}

void SurfacePainter::DrawBitmap(const RECT& rect, const uint32_t* argb, int width, int height) {
  if (!argb)
    return;
  Paint(rect, [&](Canvas& canvas, POINT at) {
    for (int y = 0; y < height; y++) {
      for (int x = 0; x < width; x++) {
        uint32_t pixel = argb[static_cast<size_t>(y) * width + x];
        canvas.Blend(rect.left + at.x + x, rect.top + at.y + y, pixel & 0x00FFFFFF, pixel >> 24);
      }
    }
  });
}

void SurfacePainter::DrawFocusRect(const RECT& rect) {
  Paint(rect, [&](Canvas& canvas, POINT at) {
    RECT r = Offset(rect, at);
    for (LONG x = r.left; x < r.right; x += 2) {
      canvas.Invert(x, r.top);
      canvas.Invert(x, r.bottom - 1);
    }
    for (LONG y = r.top + 2; y < r.bottom - 1; y += 2) {
      canvas.Invert(r.left, y);
      canvas.Invert(r.right - 1, y);
    }
  });
}

SIZE SurfacePainter::MeasureText(const char* text, int length, const PlatformFontSpec& font) {
  return TextRenderer::Get().Measure(DecodeCp936(text, length), font);
}

} // namespace x11display
