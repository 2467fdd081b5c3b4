#include "x11display/surface.h"

#include <algorithm>

namespace x11display {

void Canvas::Fill(const RECT& rect, uint32_t rgb) {
  LONG left = std::max(rect.left, clip_.left), right = std::min(rect.right, clip_.right);
  LONG top = std::max(rect.top, clip_.top), bottom = std::min(rect.bottom, clip_.bottom);
  for (LONG y = top; y < bottom; y++)
    std::fill_n(pixels_.begin() + y * width_ + left, std::max<LONG>(0, right - left), rgb);
}

void Canvas::Pixel(int x, int y, uint32_t rgb) {
  if (Inside(x, y))
    pixels_[static_cast<size_t>(y) * width_ + x] = rgb;
}

void Canvas::Blend(int x, int y, uint32_t rgb, unsigned alpha) {
  if (!Inside(x, y) || alpha == 0)
    return;
  uint32_t& at = pixels_[static_cast<size_t>(y) * width_ + x];
  if (alpha >= 255) {
    at = rgb;
    return;
  }
  uint32_t mixed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    unsigned over = (rgb >> shift) & 0xFF, under = (at >> shift) & 0xFF;
    mixed |= ((over * alpha + under * (255 - alpha) + 127) / 255) << shift;
  }
  at = mixed;
}

void Canvas::Invert(int x, int y) {
  if (Inside(x, y))
    pixels_[static_cast<size_t>(y) * width_ + x] ^= 0x00FFFFFF;
}

Surface::Surface(int width, int height, uint32_t background)
    : width_(std::max(0, width)), height_(std::max(0, height)), background_(background),
      pixels_(static_cast<size_t>(width_) * height_, background) {}

void Surface::Resize(int width, int height) {
  std::lock_guard lock(mutex_);
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == width_ && height == height_)
    return;
  std::vector<uint32_t> fresh(static_cast<size_t>(width) * height, background_);
  for (int y = 0; y < std::min(height, height_); y++)
    std::copy_n(pixels_.begin() + y * width_, std::min(width, width_), fresh.begin() + y * width);
  pixels_ = std::move(fresh);
  width_ = width;
  height_ = height;
  dirty_ = false;
  AddDirty({0, 0, width_, height_});
}

void Surface::Invalidate(const RECT& rect) {
  std::lock_guard lock(mutex_);
  RECT visible = ClipToBounds(rect);
  if (visible.left < visible.right && visible.top < visible.bottom)
    AddDirty(visible);
}

bool Surface::TakeDirty(RECT* area, std::vector<uint32_t>* pixels) {
  std::lock_guard lock(mutex_);
  if (!dirty_)
    return false;
  dirty_ = false;
  *area = dirtyRect_;
  LONG width = area->right - area->left;
  pixels->resize(static_cast<size_t>(width) * (area->bottom - area->top));
  for (LONG y = area->top; y < area->bottom; y++)
    std::copy_n(pixels_.begin() + y * width_ + area->left, width, pixels->begin() + (y - area->top) * width);
  return true;
}

SIZE Surface::Size() {
  std::lock_guard lock(mutex_);
  return {width_, height_};
}

RECT Surface::ClipToBounds(const RECT& rect) const {
  return {std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min<LONG>(rect.right, width_),
          std::min<LONG>(rect.bottom, height_)};
}

void Surface::AddDirty(const RECT& rect) {
  if (!dirty_) {
    dirtyRect_ = rect;
    dirty_ = true;
    return;
  }
  dirtyRect_ = {std::min(dirtyRect_.left, rect.left), std::min(dirtyRect_.top, rect.top),
                std::max(dirtyRect_.right, rect.right), std::max(dirtyRect_.bottom, rect.bottom)};
}

} // namespace x11display
