#include "kernel32/process.h"
#include "runtime/byte_set.h"
#include "runtime/message_box.h"
#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/dialog_test.h"
#include "user32/headless_display.h"
#include "user32/input.h"
#include "user32/message_box.h"
#include "user32/window_system_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace {

struct Answer {
  int button = IDOK;
  std::string text;
  std::string caption;
  UINT type = 0;
  HWND owner = reinterpret_cast<HWND>(1);
};

int Respond(const PlatformMessageBox* box, void* context) {
  auto* answer = static_cast<Answer*>(context);
  answer->text = box->text;
  answer->caption = box->caption;
  answer->type = box->type;
  answer->owner = box->owner;
  return answer->button;
}

class ShowMessageBoxTest : public testing::Test {
protected:
  void SetUp() override { PlatformTestSetMessageBoxResponder(Respond, &answer); }
  void TearDown() override { PlatformTestSetMessageBoxResponder(nullptr, nullptr); }
  Answer answer;
};

TEST_F(ShowMessageBoxTest, TurnsValuesIntoTextWithTheDefaultTitleAndNoOwner) {
  struct Case {
    CommandArg message;
    const char* shown;
  } cases[] = {
      {CommandArg::Double(3.0), "3"},         {CommandArg::Logical(true), "真"},
      {CommandArg::Logical(false), "假"},     {CommandArg::Integer(12), "12"},
      {CommandArg::Text("完毕！"), "完毕！"}, {CommandArg::Omitted(), ""},
  };
  for (const Case& c : cases) {
    ShowMessageBox(c.message, 0);
    EXPECT_EQ(answer.text, c.shown);
    EXPECT_EQ(answer.caption, "信息");
    EXPECT_EQ(answer.owner, nullptr);
  }
  ByteSet bytes = ByteSet::Copy("ab", 2);
  ShowMessageBox(CommandArg::Bytes(bytes.Block()), 0, TextRef("标题"));
  EXPECT_EQ(answer.text, "");
  EXPECT_EQ(answer.caption, "标题");
}

TEST_F(ShowMessageBoxTest, ReturnsTheButtonCountedFromZero) {
  struct Case {
    int button;
    int32_t expected;
  } cases[] = {{IDOK, 0},     {IDCANCEL, 1}, {IDABORT, 2}, {IDRETRY, 3},
               {IDIGNORE, 4}, {IDYES, 5},    {IDNO, 6},    {0, -1}};
  for (const Case& c : cases) {
    answer.button = c.button;
    EXPECT_EQ(ShowMessageBox("x", 1), c.expected);
    EXPECT_EQ(answer.type, 1u);
  }
}

// Narrow literals here are code page 936, as in the system's code.
constexpr DWORD kPatience = 5000;

std::atomic<int> main_window_posts{0};

LRESULT MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER)
    main_window_posts++;
  return DefWindowProcA(window, message, wParam, lParam);
}

// Real boxes: the test thread has a main window (so boxes are dialogs, not
// printed) and each box is answered from a thread of its own.
class ShowMessageBoxDialog : public testing::Test {
protected:
  void SetUp() override {
    PlatformTestResetWindowSystem();
    WNDCLASSEXA main_class{};
    main_class.cbSize = sizeof main_class;
    main_class.lpfnWndProc = MainProc;
    main_class.lpszClassName = "BoxMain";
    ASSERT_NE(RegisterClassExA(&main_class), 0);
    main = CreateWindowExA(0, "BoxMain", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    main_window_posts = 0;
  }
  void TearDown() override { PlatformTestResetWindowSystem(); }

  static void Answering(const std::function<void(HWND box)>& answer) {
    HWND box = PlatformTestWaitForDialog("信息", kPatience);
    if (!box) {
      ADD_FAILURE() << "no box appeared";
      return;
    }
    answer(box);
    if (!PlatformTestWaitForWindowGone(box, kPatience)) {
      ADD_FAILURE() << "the box stayed open";
      EndDialog(box, IDOK);
    }
  }

  int32_t ShowAnswered(const CommandArg& message, int32_t style,
                       const std::function<void(HWND box)>& answer) {
    std::thread answerer([&] { Answering(answer); });
    int32_t pressed = ShowMessageBox(message, style);
    answerer.join();
    return pressed;
  }

  HWND main = nullptr;
};

TEST_F(ShowMessageBoxDialog, AnOkCancelBoxAnswersByButtonEscAndCloseBox) {
  struct Case {
    const char* how;
    std::function<void(HWND)> answer;
    int32_t expected;
  } cases[] = {
      {"OK", [](HWND box) { PlatformTestPressDialogButton(box, "确定"); }, 0},
      {"Cancel", [](HWND box) { PlatformTestPressDialogButton(box, "取消"); }, 1},
      {"Esc", [](HWND) { PlatformTestPressKey(VK_ESCAPE); }, 1},
      {"close box", [](HWND box) { PlatformTestRequestClose(box); }, 1},
      {"Enter", [](HWND) { PlatformTestPressKey(VK_RETURN); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    EXPECT_EQ(ShowAnswered(CommandArg::Text("继续吗？"), 1, c.answer), c.expected);
  }
}

TEST_F(ShowMessageBoxDialog, AnOkBoxClosedByItsCloseBoxGivesOk) {
  EXPECT_EQ(ShowAnswered(CommandArg::Text("完毕！"), 0, [](HWND box) { PlatformTestRequestClose(box); }), 0);
}

TEST_F(ShowMessageBoxDialog, ShowsADoubleOfThreeAsThree) {
  ShowAnswered(CommandArg::Double(3.0), 0, [](HWND box) {
    char text[32] = {};
    GetDlgItemTextA(box, PLATFORM_MESSAGE_BOX_TEXT_ID, text, sizeof text);
    EXPECT_STREQ(text, "3");
    PlatformTestPressKey(VK_RETURN);
  });
}

TEST_F(ShowMessageBoxDialog, AWorkersBoxIsAnsweredWhileTheUiThreadKeepsDispatching) {
  DWORD ui = GetCurrentThreadId();
  std::atomic<int32_t> pressed{-2};
  std::thread worker([&] {
    pressed = ShowMessageBox(CommandArg::Text("完毕！"), 1);
    PostThreadMessageA(ui, WM_QUIT, 0, 0);
  });
  std::thread answerer([&] {
    Answering([&](HWND box) {
      EXPECT_NE(GetWindowThreadProcessId(box, nullptr), ui);
      EXPECT_TRUE(IsWindowEnabled(main)) << "a box without owner disables nothing";
      PostMessageA(main, WM_USER, 0, 0);
      EXPECT_TRUE(PlatformTestWaitIdle(kPatience));
      EXPECT_EQ(main_window_posts.load(), 1) << "the UI thread was held up";
      PlatformTestPressDialogButton(box, "取消");
    });
  });
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0)
    DispatchMessageA(&message);
  worker.join();
  answerer.join();
  EXPECT_EQ(pressed.load(), 1);
}

} // namespace
