// The picture of one top-level window's client area, kept in memory: every
// painter of the window and its children draws here, on whatever thread
// owns the window, and the display thread copies the changed part to the X
// window (after paints and on Expose). It is the window's back buffer, so
// nothing half-drawn ever shows.
//
// Pixels are 0x00RRGGBB, rows from the top. All access goes through Draw or
// TakeDirty, which hold the surface's lock: drawing and copying never
// overlap.
#pragma once

#include "gdi32/geometry.h"
#include "win/types.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace x11display {

// Drawing primitives over the pixels, every one clipped to `clip` (which
// never reaches outside the pixels).
class Canvas {
public:
  Canvas(std::vector<uint32_t>& pixels, int width, RECT clip) : pixels_(pixels), width_(width), clip_(clip) {}

  const RECT& Clip() const { return clip_; }
  void Fill(const RECT& rect, uint32_t rgb);
  void Pixel(int x, int y, uint32_t rgb);
  // Mixes `rgb` over the pixel with `alpha` (0 keeps it, 255 replaces it).
  void Blend(int x, int y, uint32_t rgb, unsigned alpha);
  void Invert(int x, int y);

private:
  bool Inside(int x, int y) const {
    return x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom;
  }

  std::vector<uint32_t>& pixels_;
  int width_;
  RECT clip_;
};

class Surface {
public:
  Surface(int width, int height, uint32_t background);

  // Runs `draw` with a canvas clipped to `clip` (surface coordinates) and
  // marks what it may have changed for the next copy.
  template <typename Draw> void Paint(const RECT& clip, Draw&& draw) {
    std::lock_guard lock(mutex_);
    RECT visible = ClipToBounds(clip);
    if (visible.left >= visible.right || visible.top >= visible.bottom)
      return;
    Canvas canvas(pixels_, width_, visible);
    draw(canvas);
    AddDirty(visible);
  }

  // New size: what was drawn stays at the top left, new parts take the
  // background.
  void Resize(int width, int height);
  // The area must be copied again (an Expose).
  void Invalidate(const RECT& rect);
  // Takes the changed area and a copy of its pixels (rows of its width);
  // false when nothing changed.
  bool TakeDirty(RECT* area, std::vector<uint32_t>* pixels);
  SIZE Size();

private:
  RECT ClipToBounds(const RECT& rect) const;
  void AddDirty(const RECT& rect);

  std::mutex mutex_;
  int width_;
  int height_;
  uint32_t background_;
  std::vector<uint32_t> pixels_;
  bool dirty_ = false;
  RECT dirtyRect_{};
};

} // namespace x11display
