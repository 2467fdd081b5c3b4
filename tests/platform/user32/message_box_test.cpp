#include "window_test_support.h"

#include "kernel32/process.h"
#include "user32/dialog.h"
#include "user32/dialog_test.h"
#include "user32/message_box.h"

#include <atomic>

namespace user32_test {
namespace {

constexpr DWORD kPatience = 5000;

const std::string kTitle = Gbk("标题");
const std::string kOk = Gbk("确定");
const std::string kCancel = Gbk("取消");
const std::string kAbort = Gbk("中止");
const std::string kRetry = Gbk("重试");
const std::string kIgnore = Gbk("忽略");
const std::string kYes = Gbk("是");
const std::string kNo = Gbk("否");

BOOL CollectButton(HWND window, LPARAM data) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "Button")
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

// The box's button captions from left to right.
std::vector<std::string> ButtonCaptions(HWND box) {
  std::vector<HWND> buttons;
  EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&buttons));
  std::vector<std::pair<LONG, std::string>> placed;
  for (HWND button : buttons) {
    RECT at{};
    GetWindowRect(button, &at);
    char text[64] = {};
    GetWindowTextA(button, text, sizeof text);
    placed.emplace_back(at.left, text);
  }
  std::sort(placed.begin(), placed.end());
  std::vector<std::string> captions;
  for (const auto& button : placed)
    captions.push_back(button.second);
  return captions;
}

// Shows boxes on the test thread (so the fixture's windows, of this thread
// too, never wait for it) and answers them from a thread of its own.
class MessageBoxDialog : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    main = TopLevel();
    PlatformTestPumpMessages();
  }

  // `answer` runs on its own thread once the box is ready; the box's answer
  // comes back.
  int ShowAnswered(HWND owner, const char* text, UINT type, std::function<void(HWND box)> answer) {
    BoundedThread answerer([&] {
      HWND box = PlatformTestWaitForDialog(kTitle.c_str(), kPatience);
      ASSERT_NE(box, nullptr) << "no box appeared";
      answer(box);
    });
    int pressed = MessageBoxA(owner, text, kTitle.c_str(), type);
    answerer.Join();
    return pressed;
  }

  HWND main = nullptr;
};

TEST_F(MessageBoxDialog, EveryButtonAnswersWithItsIdentifier) {
  struct Case {
    UINT type;
    const std::string& caption;
    int answer;
  } cases[] = {
      {MB_OK, kOk, IDOK},
      {MB_OKCANCEL, kOk, IDOK},
      {MB_OKCANCEL, kCancel, IDCANCEL},
      {MB_ABORTRETRYIGNORE, kAbort, IDABORT},
      {MB_ABORTRETRYIGNORE, kRetry, IDRETRY},
      {MB_ABORTRETRYIGNORE, kIgnore, IDIGNORE},
      {MB_YESNOCANCEL, kYes, IDYES},
      {MB_YESNOCANCEL, kNo, IDNO},
      {MB_YESNOCANCEL, kCancel, IDCANCEL},
      {MB_YESNO, kNo, IDNO},
      {MB_RETRYCANCEL, kRetry, IDRETRY},
      {MB_RETRYCANCEL | MB_ICONQUESTION, kCancel, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " answer " << c.answer);
    HWND shown = nullptr;
    int pressed = ShowAnswered(nullptr, "text", c.type, [&](HWND box) {
      shown = box;
      EXPECT_TRUE(PlatformTestPressDialogButton(box, c.caption.c_str()));
    });
    EXPECT_EQ(pressed, c.answer);
    EXPECT_FALSE(IsWindow(shown));
  }
}

TEST_F(MessageBoxDialog, ShowsTheButtonsOfItsTypeInThePlatformsOrderTheFirstOneTheDefault) {
  struct Case {
    UINT type;
    std::vector<std::string> captions;
  } cases[] = {
      {MB_OK, {kOk}},
      {MB_OKCANCEL, {kOk, kCancel}},
      {MB_ABORTRETRYIGNORE, {kAbort, kRetry, kIgnore}},
      {MB_YESNOCANCEL, {kYes, kNo, kCancel}},
      {MB_YESNO, {kYes, kNo}},
      {MB_RETRYCANCEL, {kRetry, kCancel}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type);
    ShowAnswered(nullptr, "text", c.type, [&](HWND box) {
      EXPECT_EQ(ButtonCaptions(box), c.captions);
      HWND first = PlatformTestFindDialogControl(box, "Button", c.captions[0].c_str());
      EXPECT_EQ(GetWindowLongA(first, GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_DEFPUSHBUTTON));
      EXPECT_EQ(GetFocus(), first);
      EXPECT_TRUE(PlatformTestPressKey(VK_RETURN));
    });
  }
}

TEST_F(MessageBoxDialog, KeysAndTheCloseBoxAnswerAsTheBoxAllows) {
  enum Action { Enter, Escape, CloseBox, TabEnter, ShiftTabEnter, TabSpace };
  struct Case {
    UINT type;
    Action action;
    int answer;
  } cases[] = {
      {MB_OKCANCEL, Enter, IDOK},
      {MB_OKCANCEL, Escape, IDCANCEL},
      {MB_OKCANCEL, CloseBox, IDCANCEL},
      {MB_OKCANCEL, TabEnter, IDCANCEL},
      {MB_OKCANCEL, TabSpace, IDCANCEL},
      {MB_YESNOCANCEL, ShiftTabEnter, IDCANCEL},
      {MB_OK, Escape, IDOK},
      {MB_OK, CloseBox, IDOK},
      {MB_YESNOCANCEL, Escape, IDCANCEL},
      {MB_ABORTRETRYIGNORE, TabEnter, IDRETRY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " action " << c.action);
    int pressed = ShowAnswered(nullptr, "text", c.type, [&](HWND box) {
      switch (c.action) {
      case Enter:
        PlatformTestPressKey(VK_RETURN);
        break;
      case Escape:
        PlatformTestPressKey(VK_ESCAPE);
        break;
      case CloseBox:
        PlatformTestRequestClose(box);
        break;
      case TabEnter:
        PlatformTestPressKey(VK_TAB);
        PlatformTestPressKey(VK_RETURN);
        break;
      case ShiftTabEnter:
        PlatformTestKey(VK_SHIFT, TRUE);
        PlatformTestPressKey(VK_TAB);
        PlatformTestKey(VK_SHIFT, FALSE);
        PlatformTestPressKey(VK_RETURN);
        break;
      case TabSpace:
        PlatformTestPressKey(VK_TAB);
        PlatformTestPressKey(VK_SPACE);
        break;
      }
    });
    EXPECT_EQ(pressed, c.answer);
  }
}

TEST_F(MessageBoxDialog, AYesNoBoxIgnoresEscAndItsCloseBox) {
  int pressed = ShowAnswered(nullptr, "text", MB_YESNO, [&](HWND box) {
    PlatformTestPressKey(VK_ESCAPE);
    PlatformTestRequestClose(box);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_TRUE(IsWindowVisible(box));
    PlatformTestPressDialogButton(box, kNo.c_str());
  });
  EXPECT_EQ(pressed, IDNO);
}

TEST_F(MessageBoxDialog, WrapsItsTextAndIsSizedToItAndCentredOnTheScreen) {
  // No blanks: only the two-byte characters give places to break.
  std::string text;
  for (int i = 0; i < 8; i++)
    text += Gbk("歌词下载完毕请查看日志");
  ShowAnswered(nullptr, text.c_str(), MB_OK, [&](HWND box) {
    HWND label = GetDlgItem(box, PLATFORM_MESSAGE_BOX_TEXT_ID);
    ASSERT_NE(label, nullptr);
    RECT labelRect{}, boxRect{}, client{};
    GetWindowRect(label, &labelRect);
    GetWindowRect(box, &boxRect);
    GetClientRect(box, &client);
    EXPECT_LE(labelRect.right - labelRect.left, PLATFORM_MESSAGE_BOX_TEXT_WIDTH);
    EXPECT_GE(labelRect.left, boxRect.left);
    EXPECT_LE(labelRect.right, boxRect.right);
    // Near the widest line the screen allows, so the box is not needlessly tall.
    EXPECT_GT(labelRect.right - labelRect.left, PLATFORM_MESSAGE_BOX_TEXT_WIDTH - 20);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    std::string shown = Shown(label);
    size_t lines = static_cast<size_t>(std::count(shown.begin(), shown.end(), '\n')) + 1;
    EXPECT_GE(lines, 3u);
    shown.erase(std::remove(shown.begin(), shown.end(), '\n'), shown.end());
    EXPECT_EQ(shown, text);
    EXPECT_EQ((boxRect.left + boxRect.right) / 2, 512);
    EXPECT_EQ((boxRect.top + boxRect.bottom) / 2, 384);
    HWND ok = GetDlgItem(box, IDOK);
    RECT okRect{};
    GetWindowRect(ok, &okRect);
    EXPECT_GE(okRect.top, labelRect.bottom);
    EXPECT_LE(okRect.bottom, boxRect.bottom);
    PlatformTestPressKey(VK_RETURN);
  });
}

TEST_F(MessageBoxDialog, AShortTextGivesANarrowBoxWithItsTextOnOneLine) {
  ShowAnswered(nullptr, "OK?", MB_OKCANCEL, [&](HWND box) {
    RECT boxRect{};
    GetWindowRect(box, &boxRect);
    EXPECT_LT(boxRect.right - boxRect.left, 260);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(Shown(GetDlgItem(box, PLATFORM_MESSAGE_BOX_TEXT_ID)), "OK?");
    PlatformTestPressKey(VK_RETURN);
  });
}

TEST_F(MessageBoxDialog, ShowsTheIconOfItsStyleBits) {
  struct Case {
    UINT type;
    WORD icon;
    const char* glyph;
  } cases[] = {{MB_ICONHAND, IDI_HAND, "X"},
               {MB_ICONQUESTION, IDI_QUESTION, "?"},
               {MB_ICONEXCLAMATION, IDI_EXCLAMATION, "!"},
               {MB_ICONASTERISK, IDI_ASTERISK, "i"},
               {MB_OK, 0, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type);
    ShowAnswered(nullptr, "text", c.type, [&](HWND box) {
      HWND icon = GetDlgItem(box, PLATFORM_MESSAGE_BOX_ICON_ID);
      if (!c.icon) {
        EXPECT_EQ(icon, nullptr);
      } else {
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(GetWindowLongPtrA(icon, GWLP_USERDATA), c.icon);
        EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
        EXPECT_EQ(Shown(icon), c.glyph);
        RECT iconRect{}, textRect{};
        GetWindowRect(icon, &iconRect);
        GetWindowRect(GetDlgItem(box, PLATFORM_MESSAGE_BOX_TEXT_ID), &textRect);
        EXPECT_LE(iconRect.right, textRect.left);
      }
      PlatformTestPressKey(VK_RETURN);
    });
  }
}

TEST_F(MessageBoxDialog, AnOwnerIsDisabledWhileTheBoxIsOpenAndTheBoxSitsOverIt) {
  MoveWindow(main, 40, 60, 400, 300, TRUE);
  HWND child = Child(main, "Button", "child", WS_VISIBLE, 5, 5, 50, 20, 7);
  PlatformTestPumpMessages();
  int pressed = ShowAnswered(child, "text", MB_OKCANCEL, [&](HWND box) {
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(GetParent(box), main);
    RECT boxRect{};
    GetWindowRect(box, &boxRect);
    EXPECT_EQ((boxRect.left + boxRect.right) / 2, 240);
    EXPECT_EQ((boxRect.top + boxRect.bottom) / 2, 210);
    PlatformTestPressDialogButton(box, kCancel.c_str());
  });
  EXPECT_EQ(pressed, IDCANCEL);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(GetActiveWindow(), main);

  EnableWindow(main, FALSE);
  ShowAnswered(main, "text", MB_OK, [&](HWND) { PlatformTestPressKey(VK_RETURN); });
  EXPECT_FALSE(IsWindowEnabled(main)) << "an owner disabled before stays disabled";
}

TEST_F(MessageBoxDialog, WithoutOwnerNothingIsDisabled) {
  ShowAnswered(nullptr, "text", MB_OK, [&](HWND box) {
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetParent(box), nullptr);
    PlatformTestPressKey(VK_RETURN);
  });
}

TEST_F(MessageBoxDialog, ItsLoopDispatchesTheThreadsOtherWindowsMessages) {
  int pressed = ShowAnswered(nullptr, "text", MB_OK, [&](HWND box) {
    PostMessageA(main, WM_USER + 5, 1, 2);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(Log().Of(main, {WM_USER + 5}).size(), 1u);
    EXPECT_TRUE(IsWindow(box));
    PlatformTestPressKey(VK_RETURN);
  });
  EXPECT_EQ(pressed, IDOK);
}

TEST_F(MessageBoxDialog, AQuitRequestEndsTheBoxAndStaysForTheOuterLoop) {
  int pressed = ShowAnswered(nullptr, "text", MB_OKCANCEL, [&](HWND box) {
    DWORD thread = GetWindowThreadProcessId(box, nullptr);
    PostThreadMessageA(thread, WM_QUIT, 3, 0);
  });
  EXPECT_EQ(pressed, IDCANCEL);
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

TEST_F(MessageBoxDialog, AWorkerThreadsBoxIsAnsweredWhileTheUiThreadKeepsDispatching) {
  DWORD ui = GetCurrentThreadId();
  std::atomic<int> pressed{-1};
  BoundedThread worker([&] {
    pressed = MessageBoxA(nullptr, "from the worker", kTitle.c_str(), MB_OKCANCEL);
    PostThreadMessageA(ui, WM_QUIT, 0, 0);
  });
  BoundedThread answerer([&] {
    HWND box = PlatformTestWaitForDialog(kTitle.c_str(), kPatience);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(GetWindowThreadProcessId(box, nullptr), ui);
    PostMessageA(main, WM_USER + 6, 0, 0);
    EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
    EXPECT_EQ(Log().Of(main, {WM_USER + 6}).size(), 1u) << "the UI thread was held up";
    PlatformTestPressDialogButton(box, kCancel.c_str());
  });
  RunLoop();
  worker.Join();
  answerer.Join();
  EXPECT_EQ(pressed, IDCANCEL);
}

TEST_F(WindowTest, TabMovesNoFocusInAnOrdinaryWindow) {
  HWND main = TopLevel();
  HWND first = Child(main, "Button", "a", WS_VISIBLE | WS_TABSTOP, 5, 5, 50, 20, 1);
  Child(main, "Button", "b", WS_VISIBLE | WS_TABSTOP, 60, 5, 50, 20, 2);
  SetFocus(first);
  PlatformTestPressKey(VK_TAB);
  PlatformTestPumpMessages();
  EXPECT_EQ(GetFocus(), first);
}

TEST_F(WindowTest, WithoutAnyWindowOnTheHeadlessDisplayABoxIsPrintedAndAnsweredOk) {
  testing::internal::CaptureStderr();
  int pressed = MessageBoxA(nullptr, Gbk("内存不足").c_str(), "error", MB_OKCANCEL | MB_ICONHAND);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(pressed, IDOK);
  EXPECT_EQ(printed, "MessageBox [error] " + std::string("内存不足") + "\n");
}

} // namespace
} // namespace user32_test
