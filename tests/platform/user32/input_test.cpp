#include "window_test_support.h"

namespace user32_test {
namespace {

// A main window of 456 by 189 at 100, 100 (client at 103, 122) with a push
// button and an automatic check box, as the program lays them out.
class Input : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    main = TopLevel();
    button = Child(main, "BUTTON", "go", BS_PUSHBUTTON | WS_TABSTOP, 8, 104, 136, 24, 8);
    box =
        Child(main, "BUTTON", "log", BS_AUTOCHECKBOX | BS_TOP | BS_CENTER | WS_TABSTOP, 368, 136, 72, 26, 9);
    PlatformTestPumpMessages();
    Log().Clear();
  }

  // A point of a window's client area on the screen.
  static POINT At(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
  }

  static void Press(POINT down, POINT up) {
    PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, TRUE, down.x, down.y);
    PlatformTestMouseMove(up.x, up.y);
    PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, FALSE, up.x, up.y);
    PlatformTestPumpMessages();
  }

  std::vector<Received> Commands() const {
    std::vector<Received> commands;
    for (const Received& r : Log().All()) {
      if (r.window == main && r.message == WM_COMMAND)
        commands.push_back(r);
    }
    return commands;
  }

  HWND main = nullptr;
  HWND button = nullptr;
  HWND box = nullptr;
};

TEST_F(Input, AClickOnAPushButtonReachesItsParentOnlyWhenReleasedInside) {
  struct Case {
    const char* name;
    POINT up;
    size_t commands;
  } cases[] = {
      {"released inside", At(button, 100, 20), 1},
      {"released outside", At(main, 300, 20), 0},
      {"released off every window", {1000, 700}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Log().Clear();
    Press(At(button, 10, 10), c.up);
    std::vector<Received> commands = Commands();
    ASSERT_EQ(commands.size(), c.commands);
    if (c.commands) {
      EXPECT_EQ(commands[0].wParam, MAKEWPARAM(8, BN_CLICKED));
      EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(button));
    }
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  }
  EXPECT_EQ(GetFocus(), button);
}

TEST_F(Input, AButtonShowsPushedOnlyWhileTheHeldMouseIsOnIt) {
  POINT inside = At(button, 10, 10);
  POINT outside = At(main, 300, 20);
  auto pushed = [&] { return (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; };
  PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, TRUE, inside.x, inside.y);
  PlatformTestPumpMessages();
  EXPECT_TRUE(pushed());
  PlatformTestMouseMove(outside.x, outside.y);
  PlatformTestPumpMessages();
  EXPECT_FALSE(pushed());
  PlatformTestMouseMove(inside.x, inside.y);
  PlatformTestPumpMessages();
  EXPECT_TRUE(pushed());
  PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, FALSE, inside.x, inside.y);
  PlatformTestPumpMessages();
  EXPECT_FALSE(pushed());
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(Input, AnAutomaticCheckBoxTogglesBeforeItsParentHears) {
  std::vector<LRESULT> stateWhenNotified;
  SetAnswer([&](HWND window, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (window == main && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
      stateWhenNotified.push_back(SendMessageA(box, BM_GETCHECK, 0, 0));
    return std::nullopt;
  });
  for (int i = 0; i < 6; i++) // quick clicks: the button takes a double click as a press
    PlatformTestClickWindow(box, 10, 10);
  PlatformTestPumpMessages();
  EXPECT_EQ(stateWhenNotified, (std::vector<LRESULT>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(PlatformTestWindowCheckMark(box), 0);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  PlatformTestPumpMessages();
  EXPECT_EQ(PlatformTestWindowCheckMark(box), 1);
}

TEST_F(Input, CheckStatesAreClampedToWhatTheKindOfButtonHas) {
  HWND three = Child(main, "button", "", BS_AUTO3STATE, 0, 0, 50, 20, 10);
  struct Case {
    HWND window;
    WPARAM set;
    LRESULT expected;
  } cases[] = {{box, 0, 0}, {box, 1, 1}, {box, 2, 1}, {three, 2, 2}, {three, 1, 1}, {button, 1, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessageA(c.window, BM_SETCHECK, c.set, 0), 0);
    EXPECT_EQ(SendMessageA(c.window, BM_GETCHECK, 0, 0), c.expected) << c.set;
  }
  SendMessageA(three, BM_SETCHECK, 0, 0);
  std::vector<LRESULT> cycle;
  for (int i = 0; i < 4; i++) {
    SendMessageA(three, BM_CLICK, 0, 0);
    cycle.push_back(SendMessageA(three, BM_GETCHECK, 0, 0));
  }
  EXPECT_EQ(cycle, (std::vector<LRESULT>{1, 2, 0, 1}));
}

TEST_F(Input, SpaceAndEnterClickAFocusedButton) {
  SetFocus(button);
  PlatformTestPressKey(VK_SPACE);
  PlatformTestPressKey(VK_RETURN);
  PlatformTestPumpMessages();
  EXPECT_EQ(Commands().size(), 2u);
  SetFocus(box);
  PlatformTestPressKey(VK_SPACE);
  PlatformTestPumpMessages();
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Input, ADisabledWindowAndEverythingInItTakesNoInput) {
  SetFocus(button);
  EnableWindow(main, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  Log().Clear();
  PlatformTestClickWindow(button, 10, 10);
  PlatformTestClickWindow(box, 5, 5);
  PlatformTestClickWindow(main, 300, 20);
  PlatformTestPressKey(VK_SPACE);
  PlatformTestRequestClose(main);
  PlatformTestPumpMessages();
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(Log().Among({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_SYSCOMMAND, WM_CLOSE}).empty());
  EXPECT_TRUE(IsWindow(main));

  EnableWindow(main, TRUE);
  PlatformTestClickWindow(button, 10, 10);
  PlatformTestPumpMessages();
  EXPECT_EQ(Commands().size(), 1u);
}

TEST_F(Input, ClicksOnADisabledChildOrAPlainLabelGoToTheParent) {
  HWND label = Child(main, "Static", "label", SS_LEFT, 200, 10, 100, 16, 3);
  HWND notifying = Child(main, "Static", "notify", SS_LEFT | SS_NOTIFY, 200, 40, 100, 16, 4);
  EnableWindow(button, FALSE);
  Log().Clear();
  PlatformTestClickWindow(button, 10, 10);
  PlatformTestClickWindow(label, 10, 5);
  PlatformTestClickWindow(notifying, 10, 5);
  PlatformTestPumpMessages();
  std::vector<Received> downs = Log().Among({WM_LBUTTONDOWN});
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].window, main);
  EXPECT_EQ(downs[0].lParam, MAKELPARAM(18, 114));
  EXPECT_EQ(downs[1].window, main);
  EXPECT_EQ(downs[1].lParam, MAKELPARAM(210, 15));
  std::vector<Received> commands = Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, MAKEWPARAM(4, STN_CLICKED));
}

TEST_F(Input, ASecondPressSoonAndCloseIsADoubleClickForClassesThatWantIt) {
  HWND plain = CreateWindowExA(0, kPlainRecorderClass, "", WS_POPUP | WS_VISIBLE, 600, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  struct Case {
    const char* name;
    HWND window;
    DWORD gap;
    LONG dx;
    UINT second;
  } cases[] = {
      {"soon and close", main, 200, 1, WM_LBUTTONDBLCLK},
      {"too late", main, 600, 0, WM_LBUTTONDOWN},
      {"too far", main, 100, 5, WM_LBUTTONDOWN},
      {"class without CS_DBLCLKS", plain, 100, 0, WM_LBUTTONDOWN},
  };
  DWORD time = PlatformMessageClock() + 10000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Log().Clear();
    POINT at = At(c.window, 50, 50);
    for (int i = 0; i < 2; i++) {
      for (int kind : {PLATFORM_RAW_BUTTON_DOWN, PLATFORM_RAW_BUTTON_UP}) {
        PlatformRawInput input{};
        input.kind = kind;
        input.point = {at.x + i * c.dx, at.y};
        input.time = time + (i ? c.gap : 0);
        PlatformTestInjectInput(&input);
      }
    }
    time += 5000;
    PlatformTestPumpMessages();
    EXPECT_EQ(Log().Of(c.window, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, c.second}));
  }
}

TEST_F(Input, TheMouseStaysWithTheWindowItWentDownOn) {
  HWND panel = Child(main, kRecorderClass, "", 0, 200, 10, 100, 50, 5);
  PlatformTestPumpMessages();
  POINT down = At(panel, 10, 10);
  PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, TRUE, down.x, down.y);
  PlatformTestMouseMove(down.x + 500, down.y);
  PlatformTestMouseButton(PLATFORM_BUTTON_LEFT, FALSE, down.x + 500, down.y);
  PlatformTestMouseMove(down.x + 500, down.y);
  PlatformTestPumpMessages();
  std::vector<Received> mouse = Log().Among({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP});
  ASSERT_EQ(mouse.size(), 3u); // the last move is over no window
  for (const Received& r : mouse)
    EXPECT_EQ(r.window, panel);
  EXPECT_EQ(GET_X_LPARAM(mouse[2].lParam), 510);
  EXPECT_EQ(mouse[0].wParam & MK_LBUTTON, MK_LBUTTON);
  EXPECT_EQ(mouse[2].wParam & MK_LBUTTON, 0u);
}

TEST_F(Input, KeysGoToTheFocusAndFocusChangesAreAnnounced) {
  HWND panel = Child(main, kRecorderClass, "", 0, 200, 10, 100, 50, 5);
  SetFocus(panel);
  EXPECT_EQ(Log().Of(main, {WM_KILLFOCUS}).size(), 1u);
  EXPECT_EQ(Log().Of(panel, {WM_SETFOCUS}).size(), 1u);
  Log().Clear();
  PlatformTestPressKey('Q');
  PlatformTestPumpMessages();
  EXPECT_EQ(Log().Of(panel, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
            (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  std::vector<Received> chars = Log().Among({WM_CHAR});
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('q'));
}

TEST_F(Input, TheCloseBoxAndAltF4CloseTheWindow) {
  struct Case {
    const char* name;
    std::function<void(HWND)> close;
  } cases[] = {
      {"close box", [](HWND window) { PlatformTestRequestClose(window); }},
      {"Alt+F4",
       [](HWND) {
         PlatformTestKey(VK_MENU, TRUE);
         PlatformTestPressKey(VK_F4);
         PlatformTestKey(VK_MENU, FALSE);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND window = TopLevel(0x008A0000, "closing");
    PlatformTestPumpMessages();
    Log().Clear();
    c.close(window);
    PlatformTestPumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Log().Of(window, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  }
}

TEST_F(Input, TheWindowMinimisesAndRestoresButDoesNotMaximiseWithoutTheBox) {
  SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  PlatformNativeWindow native{};
  PlatformTestNativeWindow(main, &native);
  EXPECT_TRUE(native.minimized);
  SendMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_EQ(GetActiveWindow(), main);
  std::vector<Received> sizes = Log().Among({WM_SIZE});
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[0].wParam, SIZE_MINIMIZED);
  EXPECT_EQ(sizes[1].wParam, SIZE_RESTORED);
  SendMessageA(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(IsZoomed(main));
}

TEST_F(Input, TheWheelGoesUpToTheParentByDefault) {
  HWND panel = Child(main, kRecorderClass, "", 0, 200, 10, 100, 50, 5);
  POINT at = At(panel, 10, 10);
  PlatformTestWheel(at.x, at.y, -WHEEL_DELTA);
  PlatformTestPumpMessages();
  std::vector<Received> wheels = Log().Among({WM_MOUSEWHEEL});
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(wheels[0].window, panel);
  EXPECT_EQ(wheels[1].window, main);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].wParam), -WHEEL_DELTA);
}

} // namespace
} // namespace user32_test
