// What the window system tests share: a fresh window system per test, a
// window class whose procedure records every message it gets, code page
// 936 texts built from UTF-8, and bounded threads.
#pragma once

#include "user32/controls.h"
#include "user32/headless_display.h"
#include "user32/input.h"
#include "user32/message.h"
#include "user32/paint.h"
#include "user32/rect.h"
#include "user32/window.h"
#include "user32/window_geometry.h"
#include "user32/window_system_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace user32_test {

struct Received {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD thread;

  bool operator==(const Received& other) const { return window == other.window && message == other.message; }
};

// Every message that reached a recording window, in order, from any thread.
class MessageLog {
public:
  void Add(const Received& received);
  std::vector<Received> All() const;
  // The messages of one window, only those in `only` when it is not empty.
  std::vector<UINT> Of(HWND window, std::vector<UINT> only = {}) const;
  // (window, message) pairs of the listed messages, across windows.
  std::vector<Received> Among(std::vector<UINT> only) const;
  void Clear();

private:
  mutable std::mutex mutex_;
  std::vector<Received> received_;
};

MessageLog& Log();

// A test may answer a message itself: a value ends the message there, no
// value lets it go on to DefWindowProcA.
using Answer = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
void SetAnswer(Answer answer);

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr const char* kRecorderClass = "Recorder";
constexpr const char* kPlainRecorderClass = "PlainRecorder"; // no CS_DBLCLKS

// Resets the window system and registers the recording classes.
class WindowTest : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // A visible top-level window of the recording class, 456 by 189 at 100, 100.
  HWND TopLevel(DWORD style = 0x008A0000, const char* title = "Top");
  HWND Child(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
             int height, int id);
};

// UTF-8 to code page 936 (iconv), for texts with two-byte characters.
std::string Gbk(const std::string& utf8);

// What the headless display shows in the window ("\n" between lines).
std::string Shown(HWND window);

// Runs `body` on its own thread; Join waits at most `timeout` and aborts the
// test program rather than hang when the thread does not end.
class BoundedThread {
public:
  explicit BoundedThread(std::function<void()> body);
  ~BoundedThread();
  void Join(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

private:
  std::promise<void> done_;
  std::future<void> finished_;
  std::thread thread_;
};

// A message loop on the calling thread until WM_QUIT; returns its code.
int RunLoop();

} // namespace user32_test
