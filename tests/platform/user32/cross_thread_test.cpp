#include "window_test_support.h"

#include "kernel32/process.h"

#include <atomic>
#include <ctime>

namespace user32_test {
namespace {

using CrossThread = WindowTest;

// A UI thread: creates what `build` makes, then runs its message loop until
// WM_QUIT. `ready` is set once the windows exist.
struct UiThread {
  std::promise<void> ready;
  std::atomic<DWORD> id{0};
  BoundedThread thread;

  explicit UiThread(std::function<void()> build)
      : thread([this, build = std::move(build)] {
          id = GetCurrentThreadId();
          build();
          ready.set_value();
          RunLoop();
        }) {}

  void WaitReady() {
    ASSERT_EQ(ready.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
  }
  void Quit() { PostThreadMessageA(id, WM_QUIT, 0, 0); }
};

TEST_F(CrossThread, AWorkersWindowCallsRunOnTheUiThreadWhileItWaits) {
  HWND main = nullptr, label = nullptr, box = nullptr;
  UiThread ui([&] {
    main = TopLevel();
    label = Child(main, "Static", "ready", SS_LEFT, 8, 8, 200, 16, 7);
    box = Child(main, "BUTTON", "log", BS_AUTOCHECKBOX, 8, 30, 72, 26, 9);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  });
  ui.WaitReady();
  DWORD uiThread = ui.id;
  Log().Clear();

  EXPECT_TRUE(SetWindowTextA(label, "working"));
  char text[32] = {};
  EXPECT_EQ(GetWindowTextA(label, text, sizeof text), 7);
  EXPECT_STREQ(text, "working");
  EXPECT_EQ(GetWindowTextLengthA(label), 7);

  EXPECT_FALSE(EnableWindow(main, FALSE)); // was enabled
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(EnableWindow(main, TRUE)); // was disabled
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);

  // Each call was carried out by the UI thread, and had been when it returned.
  std::vector<Received> enables = Log().Among({WM_ENABLE});
  ASSERT_EQ(enables.size(), 2u);
  for (const Received& r : enables) {
    EXPECT_EQ(r.window, main);
    EXPECT_EQ(r.thread, uiThread);
  }
  EXPECT_EQ(enables[0].wParam, 0u);
  EXPECT_EQ(enables[1].wParam, 1u);

  // The label shows its new text once the UI thread has painted.
  ASSERT_TRUE(PlatformTestWaitIdle(5000));
  EXPECT_EQ(Shown(label), "working");
  ui.Quit();
  ui.thread.Join();
}

TEST_F(CrossThread, ShowAndMoveFromAWorkerHappenOnTheOwnerThread) {
  HWND main = nullptr;
  UiThread ui([&] { main = TopLevel(); });
  ui.WaitReady();
  Log().Clear();
  ShowWindow(main, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(main));
  MoveWindow(main, 1, 2, 300, 200, TRUE);
  for (const Received& r : Log().All())
    EXPECT_EQ(r.thread, ui.id.load()) << r.message;
  EXPECT_EQ(Log().Of(main, {WM_SHOWWINDOW, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_MOVE, WM_SIZE}));
  ui.Quit();
  ui.thread.Join();
}

TEST_F(CrossThread, TwoThreadsSendingToEachOtherDoNotDeadlock) {
  HWND first = nullptr, second = nullptr;
  std::promise<void> secondReady;
  // Each window's answer to WM_USER asks the other window first.
  SetAnswer([&](HWND window, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_USER)
      return SendMessageA(window == first ? second : first, WM_USER + 1, wParam, 0) + 1;
    if (message == WM_USER + 1)
      return static_cast<LRESULT>(wParam) * 10;
    return std::nullopt;
  });
  first = CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::atomic<LRESULT> fromSecond{0};
  std::promise<void> go;
  std::shared_future<void> start = go.get_future().share();
  BoundedThread other([&] {
    second = CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    secondReady.set_value();
    start.wait();
    fromSecond = SendMessageA(first, WM_USER, 2, 0); // while the first thread sends to us
    DestroyWindow(second);
  });
  secondReady.get_future().wait();
  go.set_value();
  EXPECT_EQ(SendMessageA(second, WM_USER, 3, 0), 31);
  // Keep answering until the other thread's send is done.
  while (fromSecond == 0) {
    MSG message{};
    PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(fromSecond, 21);
  other.Join();
}

TEST_F(CrossThread, SendingToAnEndedThreadsWindowReturnsAtOnce) {
  HWND orphan = nullptr;
  {
    BoundedThread ended([&] {
      orphan =
          CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    });
    ended.Join();
  }
  EXPECT_FALSE(IsWindow(orphan)); // it went with its thread
  EXPECT_EQ(SendMessageA(orphan, WM_USER, 0, 0), 0);
  EXPECT_FALSE(SetWindowTextA(orphan, "x"));
}

TEST_F(CrossThread, ASendWaitingWhenTheOwnerEndsReturnsZero) {
  HWND window = nullptr;
  std::promise<void> created;
  std::promise<void> leave;
  BoundedThread owner([&] {
    window = CreateWindowExA(0, kRecorderClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    created.set_value();
    leave.get_future().wait(); // never pumps
  });
  created.get_future().wait();
  std::atomic<bool> returned{false};
  std::atomic<LRESULT> result{-1};
  BoundedThread sender([&] {
    result = SendMessageA(window, WM_USER, 0, 0);
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(returned);
  leave.set_value();
  owner.Join();
  sender.Join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(result, 0);
}

TEST_F(CrossThread, PostingToAnotherThreadWakesItsLoop) {
  std::atomic<int> got{0};
  std::promise<DWORD> id;
  BoundedThread loop([&] {
    MSG message{};
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE); // makes the queue
    id.set_value(GetCurrentThreadId());
    while (GetMessageA(&message, nullptr, 0, 0))
      got = static_cast<int>(message.wParam);
  });
  DWORD thread = id.get_future().get();
  EXPECT_TRUE(PostThreadMessageA(thread, WM_USER, 5, 0));
  EXPECT_TRUE(PostThreadMessageA(thread, WM_QUIT, 0, 0));
  loop.Join();
  EXPECT_EQ(got, 5);
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST_F(CrossThread, AnIdleLoopSleepsInsteadOfSpinning) {
  std::atomic<double> spent{1.0};
  std::promise<DWORD> id;
  BoundedThread loop([&] {
    MSG message{};
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    double before = ThreadCpuSeconds();
    id.set_value(GetCurrentThreadId());
    while (GetMessageA(&message, nullptr, 0, 0)) {
    }
    spent = ThreadCpuSeconds() - before;
  });
  DWORD thread = id.get_future().get();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  PostThreadMessageA(thread, WM_QUIT, 0, 0);
  loop.Join();
  EXPECT_LT(spent, 0.05);
}

TEST_F(CrossThread, DestroyingAnotherThreadsWindowIsRefused) {
  HWND window = nullptr;
  UiThread ui([&] { window = TopLevel(); });
  ui.WaitReady();
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_TRUE(IsWindow(window));
  ui.Quit();
  ui.thread.Join();
}

} // namespace
} // namespace user32_test

namespace user32_test {
namespace {

// The program's shape: a UI thread whose window posts the quit message when
// destroyed, a worker that updates it while the loop runs, then the close
// box ends the loop with code 0.
TEST_F(CrossThread, TheLoopEndsWhenTheMainWindowIsClosed) {
  HWND main = nullptr, status = nullptr, box = nullptr;
  std::atomic<int> code{-1};
  SetAnswer([&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_DESTROY && window == main)
      PostQuitMessage(0);
    return std::nullopt;
  });
  std::promise<void> ready;
  BoundedThread ui([&] {
    main = TopLevel();
    status = Child(main, "Static", "", SS_LEFT, 8, 136, 360, 16, 7);
    box = Child(main, "BUTTON", "", BS_AUTOCHECKBOX, 368, 136, 72, 26, 9);
    ready.set_value();
    code = RunLoop();
    EXPECT_FALSE(IsWindow(main));
  });
  ready.get_future().wait();
  BoundedThread worker([&] {
    EnableWindow(main, FALSE);
    for (int i = 0; i < 20; i++)
      SetWindowTextA(status, ("song " + std::to_string(i)).c_str());
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    PlatformTestRequestClose(main); // disabled: the close box does nothing
    EXPECT_TRUE(PlatformTestWaitIdle(5000));
    EXPECT_TRUE(IsWindow(main));
    EnableWindow(main, TRUE);
  });
  worker.Join();
  ASSERT_TRUE(PlatformTestWaitIdle(5000));
  EXPECT_EQ(Shown(status), "song 19");
  PlatformTestRequestClose(main);
  ui.Join();
  EXPECT_EQ(code, 0);
}

} // namespace
} // namespace user32_test
