#include "gdi32/gdi.h"
#include "gdi32/object_table.h"
#include "gdi32/painter.h"

#include <cstring>

using gdi32::Objects;

HFONT CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD underline, DWORD strikeOut,
                  DWORD charSet, DWORD, DWORD, DWORD, DWORD, LPCSTR face) {
  PlatformFontSpec font_spec{};
  if (face)
    std::strncpy(font_spec.face, face, LF_FACESIZE - 1);
  font_spec.height = height;
  font_spec.weight = weight;
  font_spec.italic = italic ? 1 : 0;
  font_spec.underline = underline ? 1 : 0;
  font_spec.strikeOut = strikeOut ? 1 : 0;
  font_spec.charSet = static_cast<BYTE>(charSet);
  return static_cast<HFONT>(Objects().Add(gdi32::FontObject{font_spec}));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(Objects().Add(gdi32::BrushObject{color & 0x00FFFFFF, false}));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width <= 0 || height <= 0 || planes != 1 || bitsPerPixel != 32)
    return nullptr;
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint32_t> argb(count, 0xFF000000);
  if (bits) {
    const auto* rgb = static_cast<const uint32_t*>(bits);
    for (size_t i = 0; i < count; i++)
      argb[i] = 0xFF000000 | (rgb[i] & 0x00FFFFFF);
  }
  return static_cast<HBITMAP>(Objects().Add(gdi32::BitmapObject{width, height, std::move(argb)}));
}

HGDIOBJ GetStockObject(int which) { return Objects().Stock(which); }

BOOL DeleteObject(HGDIOBJ object) {
  if (!object)
    return FALSE;
  return Objects().Delete(object) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ object) {
  DWORD type = 0;
  Objects().With(object, [&](gdi32::GdiObject& o) {
    static constexpr DWORD kTypes[] = {OBJ_FONT, OBJ_BRUSH, OBJ_PEN, OBJ_BITMAP, OBJ_DC};
    type = kTypes[o.index()];
  });
  return type;
}

BOOL PlatformGdiGetFont(HFONT font, PlatformFontSpec* font_spec) {
  if (!font_spec)
    return FALSE;
  bool found = false;
  Objects().With(font, [&](gdi32::GdiObject& o) {
    if (auto* f = std::get_if<gdi32::FontObject>(&o)) {
      *font_spec = f->font_spec;
      found = true;
    }
  });
  if (!found)
    *font_spec = gdi32::SystemFontSpec();
  return found ? TRUE : FALSE;
}

BOOL PlatformGdiGetBrushColor(HBRUSH brush, COLORREF* color) {
  bool solid = false;
  Objects().With(brush, [&](gdi32::GdiObject& o) {
    if (auto* b = std::get_if<gdi32::BrushObject>(&o); b && !b->hollow) {
      if (color)
        *color = b->color;
      solid = true;
    }
  });
  return solid ? TRUE : FALSE;
}

BOOL PlatformGdiGetBitmapPixels(HBITMAP bitmap, const uint32_t** argb, int* width, int* height) {
  bool found = false;
  Objects().With(bitmap, [&](gdi32::GdiObject& o) {
    if (auto* b = std::get_if<gdi32::BitmapObject>(&o)) {
      if (argb)
        *argb = b->argb.data();
      if (width)
        *width = b->width;
      if (height)
        *height = b->height;
      found = true;
    }
  });
  return found ? TRUE : FALSE;
}

HBRUSH PlatformGdiCreatePermanentBrush(COLORREF color) {
  return static_cast<HBRUSH>(Objects().Add(gdi32::BrushObject{color & 0x00FFFFFF, false}, true));
}
