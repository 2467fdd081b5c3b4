#include "window_test_support.h"

namespace user32_test {
namespace {

// Labels drawn on the headless display, whose font of height 12 has 6-pixel
// single-byte and 12-pixel two-byte characters and 12-pixel lines.
class StaticText : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    main = TopLevel();
    font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, Gbk("宋体").c_str());
  }
  void TearDown() override {
    DeleteObject(font);
    WindowTest::TearDown();
  }

  HWND Label(const std::string& text, DWORD style, int width, int height = 100) {
    HWND label = Child(main, "Static", text.c_str(), style, 8, 8, width, height, 2);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    PlatformTestPumpMessages();
    return label;
  }

  HWND main = nullptr;
  HFONT font = nullptr;
};

TEST_F(StaticText, WrapsAtBlanksAndBetweenTwoByteCharacters) {
  struct Case {
    const char* name;
    std::string text;
    int width;
    std::string shown;
  } cases[] = {
      {"blanks", "abc def ghi", 42, "abc def\nghi"},
      {"blanks stay behind", "abc   def", 30, "abc\ndef"},
      {"two-byte characters", Gbk("中文字符测试"), 36, Gbk("中文字\n符测试")},
      {"no break between a two-byte and a single-byte character", Gbk("中ab"), 18, Gbk("中a\nb")},
      {"single-byte text holds on to the two-byte characters around it", Gbk("歌曲abc文件"), 40,
       Gbk("歌\n曲abc\n文件")},
      {"a word too long for a line", "abcdefgh", 30, "abcde\nfgh"},
      {"line ends", "one\r\ntwo\nthree", 200, "one\ntwo\nthree"},
      {"a mnemonic", "&Open && close", 200, "Open & close"},
      {"fits", Gbk("目录未选择！"), 304, Gbk("目录未选择！")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND label = Label(c.text, SS_LEFT, c.width);
    EXPECT_EQ(Shown(label), c.shown);
    DestroyWindow(label);
  }
}

TEST_F(StaticText, TheAdviceLabelWrapsItsLongChineseTextIntoItsWidth) {
  std::string text = Gbk("请保证您的所有歌曲文件名均为正确（正确举例：我的歌声里.mp3，Vallisa-我的歌声里），"
                         "无杂乱字符出现（杂乱字符举例：XX网新歌-我的歌声里免费试听.mp3）");
  HWND label = Label(text, SS_LEFT, 336, 40);
  PlatformTextRun runs[8];
  int count = PlatformTestWindowTextRuns(label, runs, 8);
  ASSERT_EQ(count, 3);
  std::string joined;
  for (int i = 0; i < count; i++) {
    SCOPED_TRACE(i);
    SIZE extent{};
    HDC dc = GetDC(label);
    SelectObject(dc, font);
    GetTextExtentPoint32A(dc, runs[i].text, static_cast<int>(std::strlen(runs[i].text)), &extent);
    ReleaseDC(label, dc);
    EXPECT_LE(extent.cx, 336);
    EXPECT_EQ(runs[i].rect.top, i * 12);
    EXPECT_EQ(runs[i].align, DT_LEFT);
    joined += runs[i].text;
  }
  EXPECT_EQ(text.rfind(joined, 0), 0u); // the lines are the text, in order
  // "里.mp3，" holds together (no break between a two-byte and a single-byte
  // character) and does not fit after the 26th character.
  EXPECT_EQ(std::string(runs[0].text), Gbk("请保证您的所有歌曲文件名均为正确（正确举例：我的歌声"));
}

TEST_F(StaticText, AlignmentFollowsTheStyle) {
  struct Case {
    DWORD style;
    UINT align;
  } cases[] = {{SS_LEFT, DT_LEFT}, {SS_CENTER, DT_CENTER}, {SS_RIGHT, DT_RIGHT}};
  for (const Case& c : cases) {
    HWND label = Label("text", c.style, 100);
    PlatformTextRun run{};
    ASSERT_EQ(PlatformTestWindowTextRuns(label, &run, 1), 1);
    EXPECT_EQ(run.align, c.align);
    EXPECT_EQ(run.rect.right, 100);
    DestroyWindow(label);
  }
}

TEST_F(StaticText, NewTextShowsAfterThePaintAndAnEmptyLabelShowsNothing) {
  HWND label = Label(Gbk("准备中……"), SS_LEFT, 360, 16);
  EXPECT_EQ(Shown(label), Gbk("准备中……"));
  SetWindowTextA(label, "next");
  EXPECT_EQ(Shown(label), Gbk("准备中……")); // not painted yet
  PlatformTestPumpMessages();
  EXPECT_EQ(Shown(label), "next");
  SetWindowTextA(label, "");
  PlatformTestPumpMessages();
  EXPECT_EQ(Shown(label), "");
}

TEST_F(StaticText, EveryControlKeepsItsFontWhateverTheCaseOfItsClassName) {
  for (const char* className :
       {"Static", "STATIC", "button", "BUTTON", "Edit", "EDIT", "ListBox", "listbox"}) {
    SCOPED_TRACE(className);
    HWND control = Child(main, className, "", 0, 0, 0, 50, 20, 3);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), 0);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageA(control, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  }
}

TEST_F(StaticText, APushButtonAndACheckBoxShowTheirCaptions) {
  HWND button = Child(main, "BUTTON", Gbk("选择歌曲所在目录").c_str(), BS_PUSHBUTTON, 8, 104, 136, 24, 8);
  HWND box = Child(main, "BUTTON", Gbk("生成日志").c_str(), BS_AUTOCHECKBOX | BS_TOP | BS_CENTER, 368, 136,
                   72, 26, 9);
  for (HWND control : {button, box})
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  PlatformTestPumpMessages();
  EXPECT_EQ(Shown(button), Gbk("选择歌曲所在目录"));
  EXPECT_EQ(Shown(box), Gbk("生成日志"));
  EXPECT_EQ(PlatformTestWindowCheckMark(box), 1);
  EXPECT_EQ(PlatformTestWindowCheckMark(button), -1);
  PlatformTextRun run{};
  PlatformTestWindowTextRuns(box, &run, 1);
  EXPECT_EQ(run.align, DT_CENTER);
  EXPECT_EQ(run.rect.top, 0); // BS_TOP
  EXPECT_EQ(run.rect.left, 17);
}

TEST_F(StaticText, DrawTextMeasuresWithoutDrawing) {
  HDC dc = GetDC(main);
  SelectObject(dc, font);
  RECT rect{0, 0, 36, 0};
  std::string text = Gbk("中文字符测试");
  EXPECT_EQ(DrawTextA(dc, text.c_str(), -1, &rect, DT_WORDBREAK | DT_CALCRECT), 24);
  EXPECT_EQ(rect.right, 36);
  EXPECT_EQ(rect.bottom, 24);
  ReleaseDC(main, dc);
}

} // namespace
} // namespace user32_test

namespace user32_test {
namespace {

TEST_F(StaticText, ABitmapLabelTakesItsBitmapsSize) {
  HWND picture = Child(main, "Static", "", SS_BITMAP, 8, 8, 80, 32, 2);
  uint32_t pixels[6] = {};
  HBITMAP first = CreateBitmap(3, 2, 1, 32, pixels);
  HBITMAP second = CreateBitmap(2, 2, 1, 32, pixels);
  EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)), 0);
  RECT outer{};
  GetWindowRect(picture, &outer);
  EXPECT_EQ(outer.right - outer.left, 3);
  EXPECT_EQ(outer.bottom - outer.top, 2);
  EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)),
            reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(second));
  EXPECT_EQ(SendMessageA(picture, STM_SETIMAGE, IMAGE_ICON, 0), 0);
  PlatformTestPumpMessages();
  EXPECT_EQ(Shown(picture), "");
  DeleteObject(first);
  DeleteObject(second);
}

} // namespace
} // namespace user32_test
