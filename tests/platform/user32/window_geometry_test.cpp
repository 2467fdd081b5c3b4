#include "window_test_support.h"

namespace user32_test {
namespace {

using WindowGeometry = WindowTest;

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

TEST_F(WindowGeometry, OuterAndClientSizesFollowTheClassicFrame) {
  struct Case {
    const char* name;
    DWORD style;
    DWORD exStyle;
    bool child;
    LONG clientWidth;
    LONG clientHeight;
  } cases[] = {
      {"main window 0x008A0000", 0x008A0000, 0, false, 450, 164},
      {"sizing frame 0x004F0000", 0x004F0000, 0, false, 450, 164},
      {"bare popup", WS_POPUP, 0, false, 456, 189},
      {"popup with a border", WS_POPUP | WS_BORDER, 0, false, 454, 187},
      {"child with a border", WS_BORDER, 0, true, 454, 187},
      {"child with a client edge", 0, WS_EX_CLIENTEDGE, true, 452, 185},
      {"bare child", 0, 0, true, 456, 189},
  };
  HWND parent =
      CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 1000, 700, nullptr, nullptr, nullptr, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DWORD style = c.style | (c.child ? WS_CHILD : 0);
    HWND window = CreateWindowExA(c.exStyle, kRecorderClass, "", style, 10, 20, 456, 189,
                                  c.child ? parent : nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(Width(outer), 456);
    EXPECT_EQ(Height(outer), 189);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, c.clientWidth);
    EXPECT_EQ(client.bottom, c.clientHeight);
    RECT adjusted = client;
    AdjustWindowRectEx(&adjusted, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE, c.exStyle);
    EXPECT_EQ(Width(adjusted), 456);
    EXPECT_EQ(Height(adjusted), 189);
  }
}

TEST_F(WindowGeometry, SizeAndMoveMessagesCarryTheClientArea) {
  HWND top = TopLevel();
  Log().Clear();
  MoveWindow(top, 284, 289, 456, 189, TRUE);
  std::vector<Received> moves = Log().Among({WM_MOVE, WM_SIZE});
  ASSERT_EQ(moves.size(), 1u); // the size did not change
  EXPECT_EQ(moves[0].message, WM_MOVE);
  EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 284 + 3);
  EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 289 + 3 + 19);
  Log().Clear();
  MoveWindow(top, 284, 289, 300, 100, TRUE);
  moves = Log().Among({WM_MOVE, WM_SIZE});
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].message, WM_SIZE);
  EXPECT_EQ(moves[0].lParam, MAKELPARAM(294, 75));
  RECT outer{};
  GetWindowRect(top, &outer);
  EXPECT_EQ(outer.left, 284);
  EXPECT_EQ(outer.top, 289);
  EXPECT_EQ(outer.right, 584);
}

TEST_F(WindowGeometry, ChildrenLiveInTheirParentsClientCoordinates) {
  HWND top = TopLevel(); // at 100, 100
  HWND child = Child(top, "Static", "", 0, 8, 104, 136, 24, 8);
  RECT outer{};
  GetWindowRect(child, &outer);
  EXPECT_EQ(outer.left, 100 + 3 + 8);
  EXPECT_EQ(outer.top, 100 + 3 + 19 + 104);
  POINT corner{0, 0};
  EXPECT_EQ(MapWindowPoints(child, top, &corner, 1), static_cast<int>(MAKELONG(8, 104)));
  EXPECT_EQ(corner.x, 8);
  EXPECT_EQ(corner.y, 104);
  POINT point{0, 0};
  ClientToScreen(child, &point);
  EXPECT_EQ(point.x, outer.left);
  ScreenToClient(top, &point);
  EXPECT_EQ(point.x, 8);
  EXPECT_EQ(point.y, 104);
}

TEST_F(WindowGeometry, CentringOnTheScreenAsTheMainWindowDoes) {
  HWND top = TopLevel();
  RECT screen{}, outer{};
  GetWindowRect(GetDesktopWindow(), &screen);
  GetWindowRect(top, &outer);
  int width = Width(outer), height = Height(outer);
  MoveWindow(top, (screen.right - width) / 2, (screen.bottom - height) / 2, width, height, TRUE);
  GetWindowRect(top, &outer);
  EXPECT_EQ(outer.left, 284);
  EXPECT_EQ(outer.top, 289);
  PlatformNativeWindow native{};
  ASSERT_TRUE(PlatformTestNativeWindow(top, &native));
  EXPECT_EQ(native.outer.left, 284);
  EXPECT_EQ(native.client.top, 289 + 22);
}

TEST_F(WindowGeometry, SetWindowPosKeepsWhatItIsToldToKeepAndTopmostComesFirst) {
  HWND first = TopLevel(0x008A0000, "First");
  HWND second = TopLevel(0x008A0000, "Second");
  EXPECT_EQ(FindWindowA(kRecorderClass, nullptr), second);
  EXPECT_GT(SetWindowPos(first, HWND_TOPMOST, 5, 6, 0, 0, SWP_NOSIZE), 0);
  RECT outer{};
  GetWindowRect(first, &outer);
  EXPECT_EQ(outer.left, 5);
  EXPECT_EQ(Width(outer), 456);
  EXPECT_EQ(FindWindowA(kRecorderClass, nullptr), first);
  PlatformNativeWindow native{};
  PlatformTestNativeWindow(first, &native);
  EXPECT_TRUE(native.topmost);
  // A non-topmost window brought to the top stays below the topmost one.
  SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(FindWindowA(kRecorderClass, nullptr), first);
  EXPECT_EQ(GetActiveWindow(), second);
}

TEST_F(WindowGeometry, WindowFromPointFindsTheDeepestVisibleWindow) {
  HWND top = TopLevel(WS_POPUP); // client at 100, 100
  HWND panel = Child(top, kRecorderClass, "", 0, 10, 10, 100, 100, 1);
  HWND inner = Child(panel, kRecorderClass, "", 0, 5, 5, 20, 20, 2);
  EXPECT_EQ(WindowFromPoint({112, 112}), panel);
  EXPECT_EQ(WindowFromPoint({116, 116}), inner);
  EXPECT_EQ(WindowFromPoint({300, 200}), top);
  EXPECT_EQ(WindowFromPoint({5, 5}), nullptr);
  ShowWindow(inner, SW_HIDE);
  EXPECT_EQ(WindowFromPoint({116, 116}), panel);
}

} // namespace
} // namespace user32_test
