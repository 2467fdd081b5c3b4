#include "gdi32/dc.h"
#include "gdi32/gdi.h"
#include "gdi32/painter.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

TEST(GdiObjects, AFontKeepsItsFaceHeightAndCharacterSet) {
  const char face[] = "\xCB\xCE\xCC\xE5"; // 宋体 in code page 936
  HFONT font = CreateFontA(12, 0, 0, 0, FW_BOLD, 1, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, face);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(GetObjectType(font), OBJ_FONT);
  PlatformFontSpec font_spec{};
  EXPECT_TRUE(PlatformGdiGetFont(font, &font_spec));
  EXPECT_STREQ(font_spec.face, face);
  EXPECT_EQ(font_spec.height, 12);
  EXPECT_EQ(font_spec.weight, FW_BOLD);
  EXPECT_EQ(font_spec.italic, 1);
  EXPECT_EQ(font_spec.charSet, GB2312_CHARSET);
  EXPECT_TRUE(DeleteObject(font));
  // Gone: it reads as the system font.
  EXPECT_FALSE(PlatformGdiGetFont(font, &font_spec));
  EXPECT_STREQ(font_spec.face, "System");
}

TEST(GdiObjects, ALongFaceIsCutAndANullFaceIsEmpty) {
  std::string longFace(40, 'x');
  HFONT font = CreateFontA(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, longFace.c_str());
  PlatformFontSpec font_spec{};
  PlatformGdiGetFont(font, &font_spec);
  EXPECT_EQ(std::string(font_spec.face), std::string(LF_FACESIZE - 1, 'x'));
  HFONT unnamed = CreateFontA(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr);
  PlatformGdiGetFont(unnamed, &font_spec);
  EXPECT_STREQ(font_spec.face, "");
  DeleteObject(font);
  DeleteObject(unnamed);
}

TEST(GdiObjects, DeletingNullAnUnknownOrADeletedObjectFailsAndStockObjectsStay) {
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x1234))));
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  HGDIOBJ stock = GetStockObject(SYSTEM_FONT);
  EXPECT_TRUE(DeleteObject(stock));
  EXPECT_EQ(GetObjectType(stock), OBJ_FONT);
  HBRUSH permanent = PlatformGdiCreatePermanentBrush(RGB(9, 9, 9));
  EXPECT_TRUE(DeleteObject(permanent));
  COLORREF color = 0;
  EXPECT_TRUE(PlatformGdiGetBrushColor(permanent, &color));
  EXPECT_EQ(color, RGB(9, 9, 9));
}

TEST(GdiObjects, StockObjectsHaveTheirKinds) {
  struct Case {
    int which;
    DWORD type;
  } cases[] = {{WHITE_BRUSH, OBJ_BRUSH}, {BLACK_BRUSH, OBJ_BRUSH}, {NULL_BRUSH, OBJ_BRUSH},
               {BLACK_PEN, OBJ_PEN},     {SYSTEM_FONT, OBJ_FONT},  {DEFAULT_GUI_FONT, OBJ_FONT},
               {ANSI_VAR_FONT, OBJ_FONT}};
  for (const Case& c : cases)
    EXPECT_EQ(GetObjectType(GetStockObject(c.which)), c.type) << c.which;
  EXPECT_EQ(GetStockObject(9), nullptr); // no stock object 9
  EXPECT_EQ(GetStockObject(99), nullptr);
  COLORREF color = 0;
  EXPECT_TRUE(PlatformGdiGetBrushColor(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)), &color));
  EXPECT_EQ(color, RGB(255, 255, 255));
  EXPECT_FALSE(PlatformGdiGetBrushColor(static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), &color));
}

TEST(GdiObjects, HandlesAreNeverReused) {
  std::set<HGDIOBJ> seen;
  for (int i = 0; i < 200; i++) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    EXPECT_TRUE(seen.insert(brush).second);
    DeleteObject(brush);
  }
}

TEST(GdiObjects, OnlyThirtyTwoBitBitmapsAreMade) {
  uint32_t pixels[] = {0x00FF0000, 0x0000FF00};
  HBITMAP bitmap = CreateBitmap(2, 1, 1, 32, pixels);
  ASSERT_NE(bitmap, nullptr);
  const uint32_t* argb = nullptr;
  int width = 0, height = 0;
  ASSERT_TRUE(PlatformGdiGetBitmapPixels(bitmap, &argb, &width, &height));
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(argb[0], 0xFFFF0000u);
  EXPECT_EQ(argb[1], 0xFF00FF00u);
  DeleteObject(bitmap);
  EXPECT_EQ(CreateBitmap(2, 1, 1, 24, pixels), nullptr);
  EXPECT_EQ(CreateBitmap(0, 1, 1, 32, pixels), nullptr);
}

// A painter that writes down what it was asked to do.
struct Calls {
  std::vector<std::string> texts;
  std::vector<std::string> faces;
  int fills = 0;
  bool destroyed = false;
};

class RecordingPainter : public Painter {
public:
  explicit RecordingPainter(Calls& calls) : calls_(calls) {}
  ~RecordingPainter() override { calls_.destroyed = true; }
  void FillRect(const RECT&, COLORREF) override { calls_.fills++; }
  void DrawEdge(const RECT&, UINT, UINT) override {}
  void DrawTextLine(const RECT&, const char* text, int length, const PlatformFontSpec& font, COLORREF,
                    TextAlign) override {
    calls_.texts.emplace_back(text, static_cast<size_t>(length));
    calls_.faces.emplace_back(font.face);
  }
  void DrawCheckBox(const RECT&, int, bool, bool) override {}
  void DrawBitmap(const RECT&, const uint32_t*, int, int) override {}
  void DrawFocusRect(const RECT&) override {}
  SIZE MeasureText(const char*, int length, const PlatformFontSpec&) override { return {length * 7, 13}; }

private:
  Calls& calls_;
};

TEST(DeviceContext, CarriesTheSelectedFontAndColoursToItsPainter) {
  Calls calls;
  HDC dc = PlatformGdiCreatePainterDC(new RecordingPainter(calls));
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), OBJ_DC);
  HFONT font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Face");
  EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), font);
  SelectObject(dc, font);
  EXPECT_EQ(SetTextColor(dc, RGB(1, 2, 3)), RGB(0, 0, 0));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(SetBkMode(dc, 7), 0);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  SIZE extent{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, "abc", 3, &extent));
  EXPECT_EQ(extent.cx, 21);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "abc", 3)); // opaque: fills behind the text
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "de", 2));
  EXPECT_EQ(calls.fills, 1);
  EXPECT_EQ(calls.texts, (std::vector<std::string>{"abc", "de"}));
  EXPECT_EQ(calls.faces, (std::vector<std::string>{"Face", "Face"}));
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr); // not into a display DC
  DeleteObject(bitmap);
  EXPECT_FALSE(calls.destroyed);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(calls.destroyed);
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(font))); // a font is no DC
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  DeleteObject(font);
}

} // namespace
