#include "x11display/text_renderer.h"

#include "kernel32/conversion.h"

#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

namespace x11display {
namespace {

constexpr int kDefaultCell = 16;
constexpr int kBoldWeight = 600;

struct PatternFree {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternHolder = std::unique_ptr<FcPattern, PatternFree>;

struct FaceFree {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FaceHolder = std::unique_ptr<FT_FaceRec_, FaceFree>;

struct Glyph {
  int left = 0; // from the pen to the bitmap's left edge
  int top = 0;  // from the baseline up to the bitmap's top row
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;
};

// One face file at one pixel size.
struct SizedFace {
  FaceHolder face;
  int cell = kDefaultCell;
  int baseline = 0; // from the line's top
  std::map<char32_t, Glyph> glyphs;
};

struct FontKey {
  std::string family; // UTF-8
  int cell;
  bool bold;
  bool italic;
  auto operator<=>(const FontKey&) const = default;
};

struct FaceFile {
  std::string path;
  int index;
  auto operator<=>(const FaceFile&) const = default;
};

int CellOf(const PlatformFontSpec& font) {
  int cell = font.height == 0 ? kDefaultCell : std::abs(font.height);
  return cell < 1 ? 1 : cell;
}

std::string FontConfFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CellOf), &info) && info.dli_fname) {
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    std::string beside =
        (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "cantiva-fonts.conf";
    if (FILE* file = std::fopen(beside.c_str(), "r")) {
      std::fclose(file);
      return beside;
    }
  }
#ifdef CANTIVA_FONT_CONF_SOURCE
  return CANTIVA_FONT_CONF_SOURCE;
#else
  return {};
#endif
}

Glyph Rasterise(FT_Face face, char32_t code) {
  Glyph glyph;
  FT_UInt index = FT_Get_Char_Index(face, code);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0)
    return glyph;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
    return glyph;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  glyph.left = face->glyph->bitmap_left;
  glyph.top = face->glyph->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
  for (int y = 0; y < glyph.rows; y++) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < glyph.width; x++) {
      uint8_t value =
          bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0) : row[x];
      glyph.coverage[static_cast<size_t>(y) * glyph.width + x] = value;
    }
  }
  return glyph;
}

} // namespace

struct TextRenderer::Impl {
  std::mutex mutex;
  FT_Library library = nullptr;
  FcConfig* config = nullptr;
  std::map<FontKey, SizedFace*> fonts;
  std::map<std::pair<FaceFile, int>, std::unique_ptr<SizedFace>> faces; // by file and cell
  std::map<std::pair<int, char32_t>, SizedFace*> fallbacks;             // by cell and character

  Impl() {
    if (FT_Init_FreeType(&library) != 0)
      library = nullptr;
    config = FcInitLoadConfigAndFonts();
    std::string conf = FontConfFile();
    if (config && !conf.empty())
      FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(conf.c_str()), FcFalse);
  }

  ~Impl() {
    faces.clear();
    if (library)
      FT_Done_FreeType(library);
    if (config)
      FcConfigDestroy(config);
  }

  SizedFace* Open(const FaceFile& file, int cell) {
    auto key = std::make_pair(file, cell);
    auto it = faces.find(key);
    if (it != faces.end())
      return it->second.get();
    FT_Face raw = nullptr;
    if (!library || FT_New_Face(library, file.path.c_str(), file.index, &raw) != 0)
      return nullptr;
    auto sized = std::make_unique<SizedFace>();
    sized->face.reset(raw);
    sized->cell = cell;
    if (FT_IS_SCALABLE(raw)) {
      FT_Set_Pixel_Sizes(raw, 0, static_cast<FT_UInt>(cell));
      double ascender = raw->ascender, descender = -static_cast<double>(raw->descender);
      double total = ascender + descender > 0 ? ascender + descender : 1;
      sized->baseline = static_cast<int>(std::lround(cell * ascender / total));
    } else {
      FT_Select_Size(raw, 0);
      sized->baseline = cell * 7 / 8;
    }
    return (faces[key] = std::move(sized)).get();
  }

  // The best face for `pattern` (already filled in), or null.
  SizedFace* Match(FcPattern* pattern, int cell) {
    if (!config)
      return nullptr;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    PatternHolder match(FcFontMatch(config, pattern, &result));
    FcChar8* path = nullptr;
    int index = 0;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &path) != FcResultMatch)
      return nullptr;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    return Open({reinterpret_cast<const char*>(path), index}, cell);
  }

  SizedFace* Primary(const PlatformFontSpec& font) {
    std::string family;
    char face[LF_FACESIZE + 1] = {};
    for (int i = 0; i < LF_FACESIZE && font.face[i]; i++)
      face[i] = font.face[i];
    if (face[0]) {
      char utf8[LF_FACESIZE * 3 + 1] = {};
      if (PlatformCp936ToUtf8(face, -1, utf8, sizeof utf8) > 0)
        family = utf8;
    }
    FontKey key{family, CellOf(font), font.weight >= kBoldWeight, font.italic != 0};
    auto it = fonts.find(key);
    if (it != fonts.end())
      return it->second;
    PatternHolder pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.empty() ? "sans-serif" : family.c_str()));
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, key.cell);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, key.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, key.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    SizedFace* found = Match(pattern.get(), key.cell);
    fonts[key] = found;
    return found;
  }

  SizedFace* Fallback(int cell, char32_t code) {
    auto key = std::make_pair(cell, code);
    auto it = fallbacks.find(key);
    if (it != fallbacks.end())
      return it->second;
    PatternHolder pattern(FcPatternCreate());
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, code);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, set);
    FcCharSetDestroy(set);
    FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, cell);
    SizedFace* found = Match(pattern.get(), cell);
    if (found && FT_Get_Char_Index(found->face.get(), code) == 0)
      found = nullptr;
    fallbacks[key] = found;
    return found;
  }

  // The face that shows `code` at the font's size, and its glyph.
  const Glyph* GlyphOf(SizedFace* primary, char32_t code, int* baseline) {
    SizedFace* face = primary;
    if (!face || FT_Get_Char_Index(face->face.get(), code) == 0) {
      if (SizedFace* other = Fallback(primary ? primary->cell : kDefaultCell, code))
        face = other;
    }
    if (!face)
      return nullptr;
    *baseline = face->baseline;
    auto it = face->glyphs.find(code);
    if (it == face->glyphs.end())
      it = face->glyphs.emplace(code, Rasterise(face->face.get(), code)).first;
    return &it->second;
  }
};

TextRenderer& TextRenderer::Get() {
  static TextRenderer* renderer = new TextRenderer(); // never destroyed: painters may run during exit
  return *renderer;
}

TextRenderer::TextRenderer() : impl_(std::make_unique<Impl>()) {}
TextRenderer::~TextRenderer() = default;

bool TextRenderer::HasFaces() {
  std::lock_guard lock(impl_->mutex);
  PlatformFontSpec font{};
  return impl_->Primary(font) != nullptr;
}

SIZE TextRenderer::Measure(std::u32string_view text, const PlatformFontSpec& font) {
  std::lock_guard lock(impl_->mutex);
  SizedFace* primary = impl_->Primary(font);
  LONG width = 0;
  for (char32_t code : text) {
    int baseline = 0;
    if (const Glyph* glyph = impl_->GlyphOf(primary, code, &baseline))
      width += glyph->advance;
  }
  return {width, CellOf(font)};
}

void TextRenderer::Draw(Canvas& canvas, POINT origin, std::u32string_view text, const PlatformFontSpec& font,
                        uint32_t rgb) {
  std::lock_guard lock(impl_->mutex);
  SizedFace* primary = impl_->Primary(font);
  int pen = origin.x;
  for (char32_t code : text) {
    int baseline = 0;
    const Glyph* glyph = impl_->GlyphOf(primary, code, &baseline);
    if (!glyph)
      continue;
    int left = pen + glyph->left, top = origin.y + baseline - glyph->top;
    for (int y = 0; y < glyph->rows; y++) {
      for (int x = 0; x < glyph->width; x++)
        canvas.Blend(left + x, top + y, rgb, glyph->coverage[static_cast<size_t>(y) * glyph->width + x]);
    }
    if (font.underline)
      canvas.Fill({pen, origin.y + baseline + 1, pen + glyph->advance, origin.y + baseline + 2}, rgb);
    pen += glyph->advance;
  }
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    auto byte = static_cast<unsigned char>(text[i]);
    int extra = byte < 0x80 ? 0 : (byte >> 5) == 6 ? 1 : (byte >> 4) == 14 ? 2 : (byte >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
      out.push_back(U'\uFFFD');
      i++;
      continue;
    }
    char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; k++) {
      auto next = static_cast<unsigned char>(text[i + k]);
      valid = valid && (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    out.push_back(valid ? code : U'\uFFFD');
    i += valid ? extra + 1 : 1;
  }
  return out;
}

std::u32string DecodeCp936(const char* text, int length) {
  if (!text || length <= 0)
    return {};
  int size = PlatformCp936ToUtf8(text, length, nullptr, 0);
  if (size <= 0)
    return {};
  std::string utf8(static_cast<size_t>(size), '\0');
  PlatformCp936ToUtf8(text, length, utf8.data(), size);
  return DecodeUtf8(utf8);
}

} // namespace x11display
