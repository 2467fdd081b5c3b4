#include "app/program_icon.h"

#include "kernel32/module.h"
#include "user32/resource.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDrawn = 32;
constexpr uint32_t kPaper = 0xFFFFFFFF;
constexpr uint32_t kPaperEdge = 0xFF808080;
constexpr uint32_t kFold = 0xFFD4D0C8;
constexpr uint32_t kLine = 0xFF7F9DB9;
constexpr uint32_t kNote = 0xFF0A246A;

class Canvas {
public:
  Canvas() : pixels_(kDrawn * kDrawn, 0) {}

  void Fill(int left, int top, int right, int bottom, uint32_t argb) {
    for (int y = std::max(0, top); y < std::min(kDrawn, bottom); y++) {
      for (int x = std::max(0, left); x < std::min(kDrawn, right); x++)
        pixels_[y * kDrawn + x] = argb;
    }
  }

  void Disc(double cx, double cy, double rx, double ry, uint32_t argb) {
    for (int y = 0; y < kDrawn; y++) {
      for (int x = 0; x < kDrawn; x++) {
        double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
        if (dx * dx + dy * dy <= 1.0)
          pixels_[y * kDrawn + x] = argb;
      }
    }
  }

  std::vector<uint32_t> Take() { return std::move(pixels_); }

private:
  std::vector<uint32_t> pixels_;
};

std::vector<uint32_t> Draw32() {
  Canvas canvas;
  // The sheet, with its top right corner folded.
  canvas.Fill(5, 1, 27, 31, kPaperEdge);
  canvas.Fill(6, 2, 26, 30, kPaper);
  canvas.Fill(21, 1, 27, 7, 0);
  canvas.Fill(21, 1, 22, 8, kPaperEdge);
  canvas.Fill(21, 7, 27, 8, kPaperEdge);
  canvas.Fill(22, 2, 26, 7, kFold);
  // The note: a tilted head, its stem and flag.
  canvas.Disc(10.5, 15.0, 3.2, 2.4, kNote);
  canvas.Fill(13, 4, 15, 15, kNote);
  canvas.Fill(15, 4, 17, 6, kNote);
  canvas.Fill(17, 6, 19, 9, kNote);
  // The lyric lines.
  canvas.Fill(18, 12, 24, 13, kLine);
  canvas.Fill(8, 20, 24, 21, kLine);
  canvas.Fill(8, 23, 22, 24, kLine);
  canvas.Fill(8, 26, 24, 27, kLine);
  return canvas.Take();
}

// Averages the drawn pixels, weighted by their opacity.
std::vector<uint32_t> Scale(const std::vector<uint32_t>& from, int size) {
  std::vector<uint32_t> out(static_cast<size_t>(size) * size, 0);
  for (int y = 0; y < size; y++) {
    for (int x = 0; x < size; x++) {
      int x0 = x * kDrawn / size, x1 = std::max(x0 + 1, (x + 1) * kDrawn / size);
      int y0 = y * kDrawn / size, y1 = std::max(y0 + 1, (y + 1) * kDrawn / size);
      double a = 0, r = 0, g = 0, b = 0;
      int count = 0;
      for (int sy = y0; sy < y1; sy++) {
        for (int sx = x0; sx < x1; sx++) {
          uint32_t p = from[sy * kDrawn + sx];
          double alpha = p >> 24;
          a += alpha;
          r += ((p >> 16) & 0xFF) * alpha;
          g += ((p >> 8) & 0xFF) * alpha;
          b += (p & 0xFF) * alpha;
          count++;
        }
      }
      if (a <= 0)
        continue;
      auto channel = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
      out[static_cast<size_t>(y) * size + x] =
          channel(a / count) << 24 | channel(r / a) << 16 | channel(g / a) << 8 | channel(b / a);
    }
  }
  return out;
}

} // namespace

std::vector<uint32_t> ProgramIconPixels(int size) {
  if (size <= 0)
    return {};
  std::vector<uint32_t> drawn = Draw32();
  return size == kDrawn ? drawn : Scale(drawn, size);
}

void RegisterProgramIcon() {
  std::vector<uint32_t> pixels = ProgramIconPixels(kDrawn);
  PlatformRegisterResourceIcon(GetModuleHandleA(nullptr), kProgramIconId, pixels.data(), kDrawn, kDrawn);
}
