#include "window_test_support.h"

namespace user32_test {
namespace {

using MessageQueue = WindowTest;

TEST_F(MessageQueue, QuitComesOnceEverythingPostedIsTaken) {
  HWND top = TopLevel();
  PlatformTestPumpMessages();
  PostMessageA(top, WM_USER + 1, 1, 0);
  PostQuitMessage(7);
  PostMessageA(top, WM_USER + 2, 2, 0);
  PostMessageA(nullptr, WM_USER + 3, 3, 0); // to the thread
  std::vector<UINT> taken;
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0))
    taken.push_back(message.message);
  EXPECT_EQ(taken, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)); // once only
}

TEST_F(MessageQueue, PaintComesOnlyForAnInvalidWindowWhenNothingElseIsQueued) {
  HWND top = TopLevel();
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)); // shown, so invalid
  EXPECT_EQ(message.message, WM_PAINT);
  EXPECT_EQ(message.hwnd, top);
  DispatchMessageA(&message); // DefWindowProcA validates
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

  InvalidateRect(top, nullptr, TRUE);
  PostMessageA(top, WM_USER, 0, 0);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_USER);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_PAINT);
  // Not validated: WM_PAINT comes again.
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, WM_PAINT);
  ValidateRect(top, nullptr);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

  ShowWindow(top, SW_HIDE);
  InvalidateRect(top, nullptr, TRUE);
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)); // hidden windows are not painted
}

TEST_F(MessageQueue, BeginPaintErasesWithTheClassBrushAndGivesTheUpdateRectangle) {
  HWND top = TopLevel();
  PlatformTestPumpMessages();
  RECT part{10, 10, 20, 30};
  RECT paintRect{};
  BOOL erase = TRUE;
  SetAnswer([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_PAINT)
      return std::nullopt;
    PAINTSTRUCT paint{};
    BeginPaint(window, &paint);
    paintRect = paint.rcPaint;
    erase = paint.fErase;
    EndPaint(window, &paint);
    return 0;
  });
  Log().Clear();
  InvalidateRect(top, &part, TRUE);
  EXPECT_EQ(PlatformTestPumpMessages(), 1);
  EXPECT_EQ(Log().Of(top), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_TRUE(EqualRect(&paintRect, &part));
  EXPECT_FALSE(erase); // the class brush erased it
}

TEST_F(MessageQueue, UpdateWindowPaintsAtOnceAndOnlyWhenInvalid) {
  HWND top = TopLevel();
  PlatformTestPumpMessages();
  Log().Clear();
  UpdateWindow(top);
  EXPECT_TRUE(Log().Of(top, {WM_PAINT}).empty());
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  EXPECT_EQ(Log().Of(top, {WM_PAINT}).size(), 1u);
  MSG message{};
  EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PeekCanLeaveTheMessageAndFiltersSelect) {
  HWND top = TopLevel();
  HWND child = Child(top, kRecorderClass, "", 0, 0, 0, 10, 10, 1);
  HWND other = TopLevel(0x008A0000, "Other");
  PlatformTestPumpMessages();
  PostMessageA(other, WM_USER + 1, 0, 0);
  PostMessageA(child, WM_USER + 2, 0, 0);
  PostMessageA(top, (WM_USER + 3), 0, 0);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&message, top, 0, 0, PM_REMOVE)); // the window and its children
  EXPECT_EQ(message.message, WM_USER + 2);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 1, WM_USER + 1, PM_REMOVE));
  EXPECT_EQ(message.hwnd, other);
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, (WM_USER + 3));
  EXPECT_EQ(GetMessageA(&message, reinterpret_cast<HWND>(static_cast<intptr_t>(0x7FFFFFF0)), 0, 0), -1);
  EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
}

TEST_F(MessageQueue, TranslateTypesTheCharacterOfAKey) {
  HWND top = TopLevel();
  PlatformTestPumpMessages();
  struct Case {
    UINT vk;
    bool shift;
    int expected; // 0: no character
  } cases[] = {{'A', false, 'a'},   {'A', true, 'A'},          {'7', false, '7'},
               {'7', true, '&'},    {VK_SPACE, false, ' '},    {VK_RETURN, false, '\r'},
               {VK_BACK, false, 8}, {VK_OEM_COMMA, true, '<'}, {VK_LEFT, false, 0},
               {VK_F1, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vk);
    if (c.shift)
      PlatformTestKey(VK_SHIFT, TRUE);
    PlatformTestKey(c.vk, TRUE);
    MSG message{};
    do {
      ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    } while (message.message != WM_KEYDOWN || message.wParam != c.vk);
    EXPECT_EQ(message.hwnd, top);
    EXPECT_EQ(TranslateMessage(&message), c.expected != 0);
    MSG typed{};
    BOOL got = PeekMessageA(&typed, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE);
    EXPECT_EQ(got, c.expected != 0);
    if (got) {
      EXPECT_EQ(typed.wParam, static_cast<WPARAM>(c.expected));
    }
    PlatformTestKey(c.vk, FALSE);
    if (c.shift)
      PlatformTestKey(VK_SHIFT, FALSE);
    PlatformTestPumpMessages();
  }
}

TEST_F(MessageQueue, UnknownTargetsFailQuietly) {
  HWND top = TopLevel();
  DestroyWindow(top);
  EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageA(top, WM_USER, 0, 0), 0);
  EXPECT_FALSE(SetWindowTextA(top, "x"));
  EXPECT_EQ(GetWindowTextLengthA(top), 0);
  EXPECT_FALSE(PostThreadMessageA(0xFFFFFFF0u, WM_USER, 0, 0));
  EXPECT_EQ(DispatchMessageA(nullptr), 0);
}

} // namespace
} // namespace user32_test
