// The painter of the X11 display: draws the classic look into a top-level
// window's surface (3D edges in the button face scheme, the sunken check
// box with its tick, dotted focus rectangles, text through the text
// renderer). It makes no X call, so any thread may paint; when it ends it
// tells the display that the surface has something new to show.
#pragma once

#include "gdi32/painter.h"
#include "user32/display_backend.h"
#include "x11display/surface.h"

#include <functional>
#include <memory>

namespace x11display {

class SurfacePainter : public Painter {
public:
  // A null surface measures only (the screen DC). `painted` runs when the
  // painter ends, if it drew anything.
  SurfacePainter(std::shared_ptr<Surface> surface, const PaintTarget& target, std::function<void()> painted);
  ~SurfacePainter() override;

  void FillRect(const RECT& rect, COLORREF color) override;
  void DrawEdge(const RECT& rect, UINT edge, UINT sides) override;
  void DrawTextLine(const RECT& rect, const char* text, int length, const PlatformFontSpec& font,
                    COLORREF color, TextAlign align) override;
  void DrawCheckBox(const RECT& rect, int state, bool pushed, bool enabled) override;
  void DrawBitmap(const RECT& rect, const uint32_t* argb, int width, int height) override;
  void DrawFocusRect(const RECT& rect) override;
  SIZE MeasureText(const char* text, int length, const PlatformFontSpec& font) override;

private:
  // Runs `draw` on a canvas clipped to `rect` and the target's clip, with
  // coordinates moved to the surface's (`at` gives the painter's 0, 0 there).
  template <typename Draw> void Paint(const RECT& rect, Draw&& draw);

  std::shared_ptr<Surface> surface_;
  PaintTarget target_;
  std::function<void()> painted_;
  bool drew_ = false;
};

// 0x00BBGGRR to the surface's 0x00RRGGBB.
uint32_t ToPixel(COLORREF color);

} // namespace x11display
