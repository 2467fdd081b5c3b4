#include "window_test_support.h"

namespace user32_test {
namespace {

// A list box of five 12-pixel rows (font height 12).
class ListBox : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    main = TopLevel();
    font = CreateFontA(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "SimSun");
    list = Make(LBS_NOTIFY, 6);
    PlatformTestPumpMessages();
    Log().Clear();
  }
  void TearDown() override {
    DeleteObject(font);
    WindowTest::TearDown();
  }

  HWND Make(DWORD style, int id) {
    HWND box = Child(main, "ListBox", "", style, 8, 8, 150, 60, id);
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return box;
  }
  void Add(HWND box, int count) {
    for (int i = 0; i < count; i++) {
      std::string item = "item " + std::to_string(i);
      SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
  }
  void ClickItem(HWND box, int index, bool twice = false) {
    RECT rect{};
    ASSERT_EQ(SendMessageA(box, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)),
              LB_OKAY);
    PlatformTestClickWindow(box, 10, rect.top + 3);
    if (twice)
      PlatformTestClickWindow(box, 10, rect.top + 3);
    PlatformTestPumpMessages();
  }
  std::vector<WORD> Notifications(int id) const {
    std::vector<WORD> codes;
    for (const Received& r : Log().Among({WM_COMMAND})) {
      if (r.window == main && LOWORD(r.wParam) == id)
        codes.push_back(HIWORD(r.wParam));
    }
    return codes;
  }
  std::string Item(HWND box, int index) const {
    char text[64] = {};
    SendMessageA(box, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
  }

  HWND main = nullptr;
  HWND list = nullptr;
  HFONT font = nullptr;
};

TEST_F(ListBox, ItemsAreAddedReadAndCleared) {
  std::string song = Gbk("我的歌声里");
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first")), 0);
  EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(song.c_str())), 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 1, 0), static_cast<LRESULT>(song.size()));
  EXPECT_EQ(Item(list, 1), song);
  char text[8];
  EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text)), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBox, ASortedListPlacesItemsIgnoringCase) {
  HWND sorted = Make(LBS_SORT, 7);
  for (const char* item : {"delta", "Alpha", "charlie", "Bravo"})
    SendMessageA(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  std::vector<std::string> items;
  for (int i = 0; i < 4; i++)
    items.push_back(Item(sorted, i));
  EXPECT_EQ(items, (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
}

TEST_F(ListBox, SettingTheSelectionByMessageTellsNobody) {
  Add(list, 3);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 7, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
  EXPECT_TRUE(Notifications(6).empty());
}

TEST_F(ListBox, ClicksSelectAndNotifyOnlyWithLbsNotify) {
  HWND quiet = Make(0, 7);
  SetWindowPos(quiet, nullptr, 200, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Add(list, 4);
  Add(quiet, 4);
  ClickItem(list, 2);
  ClickItem(list, 2); // already selected
  ClickItem(quiet, 1);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageA(quiet, LB_GETCURSEL, 0, 0), 1);
  std::vector<WORD> codes = Notifications(6);
  codes.erase(std::remove_if(codes.begin(), codes.end(),
                             [](WORD c) { return c == LBN_SETFOCUS || c == LBN_KILLFOCUS; }),
              codes.end());
  // The second click came soon after the first, at the same place: a double click.
  EXPECT_EQ(codes, (std::vector<WORD>{LBN_SELCHANGE, LBN_DBLCLK}));
  EXPECT_TRUE(Notifications(7).empty());
}

TEST_F(ListBox, ADoubleClickSelectsThenReportsTheDoubleClick) {
  Add(list, 4);
  ClickItem(list, 3, true);
  std::vector<WORD> codes = Notifications(6);
  codes.erase(std::remove(codes.begin(), codes.end(), LBN_SETFOCUS), codes.end());
  EXPECT_EQ(codes, (std::vector<WORD>{LBN_SELCHANGE, LBN_DBLCLK}));
  Log().Clear();
  PlatformTestClickWindow(list, 10, 55); // past the last item: nothing
  PlatformTestClickWindow(list, 10, 55);
  PlatformTestPumpMessages();
  EXPECT_TRUE(Notifications(6).empty());
}

TEST_F(ListBox, KeysMoveTheSelectionWithinTheList) {
  Add(list, 10);
  SetFocus(list);
  struct Case {
    UINT key;
    int selection;
  } cases[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_UP, 0},   {VK_UP, 0},
               {VK_END, 9},  {VK_DOWN, 9}, {VK_HOME, 0}, {VK_NEXT, 4}};
  int changes = 0;
  int previous = -1;
  for (const Case& c : cases) {
    PlatformTestPressKey(c.key);
    PlatformTestPumpMessages();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), c.selection) << c.key;
    changes += c.selection != previous;
    previous = c.selection;
  }
  std::vector<WORD> codes = Notifications(6);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), LBN_SELCHANGE), changes);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
  PlatformTestPressKey(VK_END);
  PlatformTestPumpMessages();
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 5); // the last item came into view
}

TEST_F(ListBox, TheWheelAndTheTopIndexScrollWithinTheItems) {
  Add(list, 20);
  POINT at{10, 10};
  ClientToScreen(list, &at);
  PlatformTestWheel(at.x, at.y, -WHEEL_DELTA);
  PlatformTestPumpMessages();
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 3);
  EXPECT_EQ(Shown(list), "item 3\nitem 4\nitem 5\nitem 6\nitem 7");
  PlatformTestWheel(at.x, at.y, 2 * WHEEL_DELTA);
  PlatformTestPumpMessages();
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 18, 0), LB_OKAY);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 15); // the last page stays full
  EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 20, 0), LB_ERR);
  EXPECT_TRUE(Log().Of(main, {WM_MOUSEWHEEL}).empty()); // the list box used the wheel itself
}

TEST_F(ListBox, DeletingAndInsertingKeepTheSelectionOnItsItem) {
  Add(list, 4);
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("new")), 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 1, 0), 4);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Item(list, 2), "item 2");
  SendMessageA(list, LB_DELETESTRING, 2, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("far")), LB_ERR);
}

} // namespace
} // namespace user32_test
