#include "window_test_support.h"

#include <set>

namespace user32_test {
namespace {

using WindowLifecycle = WindowTest;

std::vector<UINT> Lifecycle() {
  return {WM_NCCREATE, WM_CREATE,   WM_SIZE,    WM_MOVE,     WM_SHOWWINDOW,
          WM_ACTIVATE, WM_SETFOCUS, WM_DESTROY, WM_NCDESTROY};
}

TEST_F(WindowLifecycle, CreationSendsItsMessagesInOrderAndShowsAVisibleWindow) {
  HWND top = TopLevel();
  ASSERT_NE(top, nullptr);
  std::vector<UINT> expected{WM_NCCREATE,   WM_CREATE,   WM_SIZE,    WM_MOVE,
                             WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS};
  EXPECT_EQ(Log().Of(top, Lifecycle()), expected);
  EXPECT_TRUE(IsWindowVisible(top));
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetFocus(), top);
  char title[16] = {};
  EXPECT_EQ(GetWindowTextA(top, title, sizeof title), 3);
  EXPECT_STREQ(title, "Top");
}

TEST_F(WindowLifecycle, AHiddenChildGetsNoShowOrActivation) {
  HWND top = TopLevel();
  HWND child = CreateWindowExA(0, kRecorderClass, "", WS_CHILD, 0, 0, 10, 10, top,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(5)), nullptr, nullptr);
  std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
  EXPECT_EQ(Log().Of(child, Lifecycle()), expected);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_EQ(GetParent(child), top);
  EXPECT_EQ(GetDlgCtrlID(child), 5);
  EXPECT_EQ(GetDlgItem(top, 5), child);
}

struct RefusedCreation {
  const char* name;
  UINT refused;
  LRESULT answer;
  std::vector<UINT> expected;
};

TEST_F(WindowLifecycle, CreationFailsWhenNcCreateOrCreateRefuses) {
  const RefusedCreation cases[] = {
      {"WM_NCCREATE 0", WM_NCCREATE, 0, {WM_NCCREATE, WM_NCDESTROY}},
      {"WM_CREATE -1", WM_CREATE, -1, {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
  };
  for (const RefusedCreation& c : cases) {
    SCOPED_TRACE(c.name);
    Log().Clear();
    HWND seen = nullptr;
    SetAnswer([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
      seen = window;
      if (message == c.refused)
        return c.answer;
      return std::nullopt;
    });
    EXPECT_EQ(TopLevel(), nullptr);
    EXPECT_EQ(Log().Of(seen, Lifecycle()), c.expected);
    EXPECT_FALSE(IsWindow(seen));
  }
}

TEST_F(WindowLifecycle, CreateStructCarriesTheArguments) {
  CREATESTRUCTA seen{};
  int param = 0;
  SetAnswer([&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_CREATE)
      seen = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
    return std::nullopt;
  });
  HWND top = TopLevel();
  HWND child = CreateWindowExA(WS_EX_CLIENTEDGE, kRecorderClass, "kid", WS_CHILD, 1, 2, 30, 40, top,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(9)), nullptr, &param);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.hwndParent, top);
  EXPECT_EQ(seen.hMenu, reinterpret_cast<HMENU>(static_cast<intptr_t>(9)));
  EXPECT_EQ(seen.x, 1);
  EXPECT_EQ(seen.y, 2);
  EXPECT_EQ(seen.cx, 30);
  EXPECT_EQ(seen.cy, 40);
  EXPECT_STREQ(seen.lpszName, "kid");
  EXPECT_STREQ(seen.lpszClass, kRecorderClass);
  EXPECT_EQ(seen.dwExStyle, WS_EX_CLIENTEDGE);
}

TEST_F(WindowLifecycle, DestroyGoesToTheWindowThenItsChildrenThenNcDestroyFromTheInside) {
  HWND top = TopLevel();
  HWND first = Child(top, kRecorderClass, "", 0, 0, 0, 50, 50, 1);
  HWND inner = Child(first, kRecorderClass, "", 0, 0, 0, 10, 10, 2);
  HWND second = Child(top, kRecorderClass, "", 0, 60, 0, 50, 50, 3);
  std::vector<bool> aliveDuringDestroy;
  SetAnswer([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_DESTROY)
      aliveDuringDestroy.push_back(IsWindow(window) && IsWindow(inner));
    return std::nullopt;
  });
  Log().Clear();
  ASSERT_TRUE(DestroyWindow(top));
  std::vector<Received> expected{{top, WM_DESTROY, 0, 0, 0},      {first, WM_DESTROY, 0, 0, 0},
                                 {inner, WM_DESTROY, 0, 0, 0},    {second, WM_DESTROY, 0, 0, 0},
                                 {inner, WM_NCDESTROY, 0, 0, 0},  {first, WM_NCDESTROY, 0, 0, 0},
                                 {second, WM_NCDESTROY, 0, 0, 0}, {top, WM_NCDESTROY, 0, 0, 0}};
  EXPECT_EQ(Log().Among({WM_DESTROY, WM_NCDESTROY}), expected);
  EXPECT_EQ(aliveDuringDestroy, std::vector<bool>(4, true));
  for (HWND window : {top, first, inner, second})
    EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(top));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowLifecycle, AProcedureMayDestroyItsOwnWindowWhileHandlingAMessage) {
  HWND top = TopLevel();
  SetAnswer([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_USER) {
      DestroyWindow(window);
      return 42;
    }
    return std::nullopt;
  });
  EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 42);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 0);
}

TEST_F(WindowLifecycle, DestroyingAnOwnerTakesItsOwnedWindowsAlong) {
  HWND owner = TopLevel();
  HWND owned =
      CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetParent(owned), owner);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowLifecycle, HandlesAreNeverReusedEvenAcrossAFreshWindowSystem) {
  std::set<HWND> seen;
  for (int round = 0; round < 2; round++) {
    for (int i = 0; i < 50; i++) {
      HWND window =
          CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(window, nullptr);
      EXPECT_TRUE(seen.insert(window).second);
      DestroyWindow(window);
    }
    PlatformTestResetWindowSystem();
  }
}

TEST_F(WindowLifecycle, ATopLevelWindowGetsACaptionUnlessItIsAPopup) {
  struct Case {
    DWORD style;
    DWORD expected;
  } cases[] = {
      {0x008A0000, 0x008A0000 | WS_CAPTION | WS_CLIPSIBLINGS | WS_VISIBLE},
      {0x004F0000, 0x004F0000 | WS_CAPTION | WS_CLIPSIBLINGS | WS_VISIBLE},
      {WS_POPUP, WS_POPUP | WS_VISIBLE},
  };
  for (const Case& c : cases) {
    HWND window = TopLevel(c.style);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), c.expected) << std::hex << c.style;
  }
  HWND child = Child(TopLevel(), "Static", "", 0, 0, 0, 1, 1, 1);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), WS_CHILD | WS_VISIBLE);
}

TEST_F(WindowLifecycle, ClassNamesIgnoreCaseAndADuplicateFails) {
  WNDCLASSEXA c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = DefWindowProcA;
  c.lpszClassName = "MyWindow";
  ATOM atom = RegisterClassExA(&c);
  ASSERT_NE(atom, 0);
  c.lpszClassName = "MYWINDOW";
  EXPECT_EQ(RegisterClassExA(&c), 0);
  c.lpszClassName = "Static";
  EXPECT_EQ(RegisterClassExA(&c), 0);
  c.cbSize = 48; // the 32-bit layout's size, as the system's code gives it
  c.lpszClassName = "Other";
  EXPECT_NE(RegisterClassExA(&c), 0);
  c.cbSize = 12;
  c.lpszClassName = "Third";
  EXPECT_EQ(RegisterClassExA(&c), 0);

  for (LPCSTR name : {"mywindow", "MyWindow", MAKEINTATOM(atom)}) {
    HWND window = CreateWindowExA(0, name, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "MyWindow");
  }
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
}

TEST_F(WindowLifecycle, AChildNeedsALiveParent) {
  EXPECT_EQ(CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  HWND top = TopLevel();
  DestroyWindow(top);
  EXPECT_EQ(CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 1, 1, top, nullptr, nullptr, nullptr), nullptr);
}

LRESULT Doubling(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC previous_proc = nullptr;

LRESULT Doubling(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER)
    return 2 * CallWindowProcA(previous_proc, window, message, wParam, lParam);
  return CallWindowProcA(previous_proc, window, message, wParam, lParam);
}

TEST_F(WindowLifecycle, LongValuesArePointerSizedAndSubclassingChainsProcedures) {
  HWND top = TopLevel();
  SetAnswer([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_USER)
      return 21;
    return std::nullopt;
  });
  previous_proc = reinterpret_cast<WNDPROC>(GetWindowLongA(top, GWL_WNDPROC));
  EXPECT_EQ(previous_proc, &RecordingProc);
  EXPECT_EQ(SetWindowLongA(top, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Doubling)),
            reinterpret_cast<LONG_PTR>(&RecordingProc));
  EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 42);

  LONG_PTR big = static_cast<LONG_PTR>(0x123456789ABCDEF0LL);
  SetWindowLongA(top, GWL_USERDATA, big);
  EXPECT_EQ(GetWindowLongA(top, GWL_USERDATA), big);
  HWND child = Child(top, "Static", "", 0, 0, 0, 1, 1, 77);
  EXPECT_EQ(GetWindowLongA(child, GWL_ID), 77);
  EXPECT_EQ(GetWindowLongA(child, GWL_EXSTYLE), 0);
  EXPECT_EQ(GetWindowLongA(nullptr, GWL_STYLE), 0);
}

TEST_F(WindowLifecycle, EnumerationAndFindingWindows) {
  HWND first = TopLevel(0x008A0000, "First");
  HWND second = TopLevel(0x008A0000, "Second");
  HWND a = Child(first, "Static", "", 0, 0, 0, 1, 1, 1);
  HWND aa = Child(a, "Static", "", 0, 0, 0, 1, 1, 2);
  HWND b = Child(first, "Button", "", 0, 0, 0, 1, 1, 3);
  EXPECT_EQ(FindWindowA(kRecorderClass, "Second"), second);
  EXPECT_EQ(FindWindowA(nullptr, "First"), first);
  EXPECT_EQ(FindWindowA("recorder", nullptr), second); // the top of the z-order
  EXPECT_EQ(FindWindowA("Static", nullptr), nullptr);  // children are not top-level

  std::vector<HWND> children;
  EnumChildWindows(
      first,
      [](HWND window, LPARAM data) {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  EXPECT_EQ(children, (std::vector<HWND>{a, aa, b}));
  std::vector<HWND> tops;
  EnumWindows(
      [](HWND window, LPARAM data) {
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return FALSE; // stops at the first
      },
      reinterpret_cast<LPARAM>(&tops));
  EXPECT_EQ(tops, std::vector<HWND>{second});
  EXPECT_TRUE(IsChild(first, aa));
  EXPECT_FALSE(IsChild(second, aa));
  EXPECT_EQ(GetParent(first), nullptr);
}

TEST_F(WindowLifecycle, ADesktopAsBigAsTheScreen) {
  HWND desktop = GetDesktopWindow();
  EXPECT_TRUE(IsWindow(desktop));
  RECT rect{};
  GetWindowRect(desktop, &rect);
  EXPECT_EQ(rect.right, 1024);
  EXPECT_EQ(rect.bottom, 768);
  PlatformTestSetScreenSize(800, 600);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
  GetWindowRect(desktop, &rect);
  EXPECT_EQ(rect.right, 800);
  PlatformTestResetWindowSystem();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
}

} // namespace
} // namespace user32_test
