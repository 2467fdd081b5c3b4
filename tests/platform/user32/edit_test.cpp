#include "window_test_support.h"

namespace user32_test {
namespace {

// A focused single-line edit box with a font of height 12 (6-pixel
// single-byte, 12-pixel two-byte characters on the headless display).
class EditBox : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    main = TopLevel();
    edit = Child(main, "Edit", "", WS_BORDER, 8, 8, 200, 22, 5);
    font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "SimSun");
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetFocus(edit);
    PlatformTestPumpMessages();
    Log().Clear();
  }
  void TearDown() override {
    DeleteObject(font);
    WindowTest::TearDown();
  }

  std::string Text() const {
    char text[256] = {};
    GetWindowTextA(edit, text, sizeof text);
    return text;
  }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }
  size_t Changes() const {
    size_t changes = 0;
    for (const Received& r : Log().Among({WM_COMMAND})) {
      if (r.window == main && HIWORD(r.wParam) == EN_CHANGE && LOWORD(r.wParam) == 5 &&
          r.lParam == reinterpret_cast<LPARAM>(edit))
        changes++;
    }
    return changes;
  }

  HWND main = nullptr;
  HWND edit = nullptr;
  HFONT font = nullptr;
};

using Step = std::function<void()>;
Step Type(std::string text) {
  return [text] { PlatformTestTypeText(text.c_str()); };
}
Step Press(UINT key) {
  return [key] { PlatformTestPressKey(key); };
}
Step With(UINT modifier, UINT key) {
  return [modifier, key] {
    PlatformTestKey(modifier, TRUE);
    PlatformTestPressKey(key);
    PlatformTestKey(modifier, FALSE);
  };
}

TEST_F(EditBox, TypingEditingAndSelecting) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::string text;
    std::pair<DWORD, DWORD> selection;
  } cases[] = {
      {"typing", {Type("hello")}, "hello", {5, 5}},
      {"backspace", {Type("abc"), Press(VK_BACK)}, "ab", {2, 2}},
      {"left and delete", {Type("abc"), Press(VK_LEFT), Press(VK_LEFT), Press(VK_DELETE)}, "ac", {1, 1}},
      {"home and end", {Type("abc"), Press(VK_HOME), Type("X"), Press(VK_END), Type("Y")}, "XabcY", {5, 5}},
      {"typing replaces a shift selection",
       {Type("hello"), With(VK_SHIFT, VK_LEFT), With(VK_SHIFT, VK_LEFT), Type("p")},
       "help",
       {4, 4}},
      {"shift+home selects to the start", {Type("abc"), With(VK_SHIFT, VK_HOME)}, "abc", {0, 3}},
      {"an arrow ends a selection at its edge",
       {Type("abcd"), With(VK_CONTROL, 'A'), Press(VK_LEFT), Type("_")},
       "_abcd",
       {1, 1}},
      {"ctrl+a and typing replace everything", {Type("abc"), With(VK_CONTROL, 'A'), Type("z")}, "z", {1, 1}},
      {"backspace takes a whole two-byte character", {Type(Gbk("中文")), Press(VK_BACK)}, Gbk("中"), {2, 2}},
      {"delete takes a whole two-byte character",
       {Type(Gbk("中文")), Press(VK_HOME), Press(VK_DELETE)},
       Gbk("文"),
       {0, 0}},
      {"the caret steps over a two-byte character",
       {Type(Gbk("a中b")), Press(VK_LEFT), Press(VK_LEFT)},
       Gbk("a中b"),
       {1, 1}},
      {"shift+right selects a two-byte character",
       {Type(Gbk("中文")), Press(VK_HOME), With(VK_SHIFT, VK_RIGHT)},
       Gbk("中文"),
       {0, 2}},
      {"control keys type nothing", {Type("a\tb\x1b")}, "ab", {2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowTextA(edit, "");
    for (const Step& step : c.steps)
      step();
    PlatformTestPumpMessages();
    EXPECT_EQ(Text(), c.text);
    EXPECT_EQ(Selection(), c.selection);
  }
}

TEST_F(EditBox, SelectionsSetByMessageSnapToCharactersAndTypingReplacesThem) {
  SetWindowTextA(edit, "abcdef");
  SendMessageA(edit, EM_SETSEL, 1, 3);
  EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), static_cast<LRESULT>(MAKELONG(1, 3)));
  PlatformTestTypeText("X");
  PlatformTestPumpMessages();
  EXPECT_EQ(Text(), "aXdef");
  SendMessageA(edit, EM_SETSEL, 0, -1);
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 5}));
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{5, 5}));

  SetWindowTextA(edit, Gbk("中文").c_str());
  SendMessageA(edit, EM_SETSEL, 1, 3); // both inside a character
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 2}));
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("ok"));
  EXPECT_EQ(Text(), "ok" + Gbk("文"));
}

TEST_F(EditBox, EveryChangeOfTheTextTellsTheParent) {
  PlatformTestTypeText("abc");
  PlatformTestPressKey(VK_LEFT);
  PlatformTestPressKey(VK_HOME);
  PlatformTestPumpMessages();
  EXPECT_EQ(Changes(), 3u);
  PlatformTestPressKey(VK_BACK); // nothing before the caret: no change
  PlatformTestPumpMessages();
  EXPECT_EQ(Changes(), 3u);
  SetWindowTextA(edit, "new");
  EXPECT_EQ(Changes(), 4u);
  EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0) == FALSE);
  PlatformTestTypeText("!");
  PlatformTestPumpMessages();
  EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
  std::vector<Received> commands = Log().Among({WM_COMMAND});
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(HIWORD(commands[0].wParam), EN_UPDATE); // before each EN_CHANGE
  EXPECT_EQ(HIWORD(commands[1].wParam), EN_CHANGE);
}

TEST_F(EditBox, TheLimitKeepsWholeCharacters) {
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
  PlatformTestTypeText(Gbk("a中文").c_str());
  PlatformTestTypeText("b");
  PlatformTestPumpMessages();
  EXPECT_EQ(Text(), Gbk("a中"));
  bool full = false;
  for (const Received& r : Log().Among({WM_COMMAND}))
    full = full || HIWORD(r.wParam) == EN_MAXTEXT;
  EXPECT_TRUE(full);
}

TEST_F(EditBox, TwoByteCharactersArriveAsOneOrTwoCharacterMessages) {
  std::string pair = Gbk("歌");
  auto lead = static_cast<unsigned char>(pair[0]), trail = static_cast<unsigned char>(pair[1]);
  SendMessageA(edit, WM_CHAR, lead, 1);
  EXPECT_EQ(Text(), ""); // waits for its trail byte
  SendMessageA(edit, WM_CHAR, trail, 1);
  SendMessageA(edit, WM_CHAR, (static_cast<WPARAM>(lead) << 8) | trail, 1);
  EXPECT_EQ(Text(), pair + pair);
}

TEST_F(EditBox, AReadOnlyBoxTakesNoTypingButAProgramMayReplace) {
  SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
  PlatformTestTypeText("abc");
  PlatformTestPumpMessages();
  EXPECT_EQ(Text(), "");
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("set"));
  EXPECT_EQ(Text(), "set");
  EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
}

TEST_F(EditBox, AClickPutsTheCaretAtTheNearestCharacterAndDraggingSelects) {
  SetWindowTextA(edit, "abcdef");
  PlatformTestPumpMessages();
  // Characters are 6 pixels wide after a 1-pixel margin.
  PlatformTestClickWindow(edit, 1 + 6 * 3 + 2, 5);
  PlatformTestPumpMessages();
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{3, 3}));
  POINT from{1 + 6 + 1, 5}, to{1 + 6 * 5 + 1, 5};
  ClientToScreen(edit, &from);
  ClientToScreen(edit, &to);
  PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, TRUE, from.x, from.y);
  PlatformTestMouseMove(to.x, to.y);
  PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, FALSE, to.x, to.y);
  PlatformTestPumpMessages();
  EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{1, 5}));
}

TEST_F(EditBox, TheSelectionShowsAsItsOwnRun) {
  SetWindowTextA(edit, "hello");
  SendMessageA(edit, EM_SETSEL, 1, 3);
  PlatformTestPumpMessages();
  PlatformTextRun runs[4];
  ASSERT_EQ(PlatformTestWindowTextRuns(edit, runs, 4), 3);
  EXPECT_STREQ(runs[0].text, "h");
  EXPECT_STREQ(runs[1].text, "el");
  EXPECT_STREQ(runs[2].text, "lo");
  EXPECT_EQ(runs[1].color, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(runs[1].rect.left, 1 + 6);
  EXPECT_EQ(Shown(edit), "hello");
}

TEST_F(EditBox, ALongTextScrollsToKeepTheCaretInView) {
  std::string text(60, 'x'); // 360 pixels in a box of 198
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, EM_SETSEL, 60, 60);
  PlatformTestPumpMessages();
  std::string shown = Shown(edit);
  EXPECT_LT(shown.size(), text.size());
  EXPECT_GE(shown.size() * 6, 190u);
  SendMessageA(edit, EM_SETSEL, 0, 0);
  PlatformTestPumpMessages();
  PlatformTextRun run{};
  PlatformTestWindowTextRuns(edit, &run, 1);
  EXPECT_EQ(run.rect.left, 1); // back at the start
}

} // namespace
} // namespace user32_test
