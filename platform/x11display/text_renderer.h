// Text for the painters: faces found through fontconfig (with the
// program's aliases, so the controls' "SimSun" becomes a CJK face) and
// glyphs rasterised by FreeType into a surface's canvas. Works on any
// thread: one lock guards the faces and the glyph cache.
//
// Metrics follow the classic cell: a font of height h (|height|, 16 when 0)
// has lines h pixels high with the face's baseline scaled into them, so a
// layout is as tall as with the headless display; widths are the face's
// own advances. A character the face lacks comes from a face that has it,
// looked up once per character (misses are remembered too).
#pragma once

#include "gdi32/painter.h"
#include "x11display/surface.h"

#include <memory>
#include <string>
#include <string_view>

namespace x11display {

class TextRenderer {
public:
  static TextRenderer& Get();

  SIZE Measure(std::u32string_view text, const PlatformFontSpec& font);
  // Draws one line with its top left corner at `origin`.
  void Draw(Canvas& canvas, POINT origin, std::u32string_view text, const PlatformFontSpec& font,
            uint32_t rgb);
  // False when fontconfig found no face at all (nothing would show).
  bool HasFaces();

private:
  TextRenderer();
  ~TextRenderer();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Code page 936 bytes to code points (a bad sequence gives U+FFFD).
std::u32string DecodeCp936(const char* text, int length);
// UTF-8 to code points.
std::u32string DecodeUtf8(std::string_view text);

} // namespace x11display
