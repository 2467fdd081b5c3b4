#include "window_test_support.h"

#include "kernel32/process.h"

#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace user32_test {
namespace {

std::mutex answer_mutex;
Answer answer;

} // namespace

void MessageLog::Add(const Received& received) {
  std::lock_guard lock(mutex_);
  received_.push_back(received);
}

std::vector<Received> MessageLog::All() const {
  std::lock_guard lock(mutex_);
  return received_;
}

std::vector<UINT> MessageLog::Of(HWND window, std::vector<UINT> only) const {
  std::vector<UINT> out;
  for (const Received& r : All()) {
    if (r.window != window)
      continue;
    if (only.empty() || std::find(only.begin(), only.end(), r.message) != only.end())
      out.push_back(r.message);
  }
  return out;
}

std::vector<Received> MessageLog::Among(std::vector<UINT> only) const {
  std::vector<Received> out;
  for (const Received& r : All()) {
    if (std::find(only.begin(), only.end(), r.message) != only.end())
      out.push_back(r);
  }
  return out;
}

void MessageLog::Clear() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

MessageLog& Log() {
  static MessageLog log;
  return log;
}

void SetAnswer(Answer a) {
  std::lock_guard lock(answer_mutex);
  answer = std::move(a);
}

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().Add({window, message, wParam, lParam, GetCurrentThreadId()});
  Answer current;
  {
    std::lock_guard lock(answer_mutex);
    current = answer;
  }
  if (current) {
    if (std::optional<LRESULT> result = current(window, message, wParam, lParam))
      return *result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void WindowTest::SetUp() {
  PlatformTestResetWindowSystem();
  Log().Clear();
  SetAnswer(nullptr);
  for (auto [name, style] : {std::pair{kRecorderClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW},
                             std::pair{kPlainRecorderClass, UINT{0}}}) {
    WNDCLASSEXA c{};
    c.cbSize = sizeof c;
    c.style = style;
    c.lpfnWndProc = RecordingProc;
    c.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_BTNFACE + 1));
    c.lpszClassName = name;
    ASSERT_NE(RegisterClassExA(&c), 0);
  }
}

void WindowTest::TearDown() {
  SetAnswer(nullptr);
  PlatformTestResetWindowSystem();
}

HWND WindowTest::TopLevel(DWORD style, const char* title) {
  return CreateWindowExA(0, kRecorderClass, title, style | WS_VISIBLE, 100, 100, 456, 189, nullptr, nullptr,
                         nullptr, nullptr);
}

HWND WindowTest::Child(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                       int width, int height, int id) {
  return CreateWindowExA(0, className, text, style | WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

std::string Gbk(const std::string& utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return {};
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* at = out.data();
  size_t outLeft = out.size();
  iconv(cd, &in, &inLeft, &at, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

std::string Shown(HWND window) {
  int length = PlatformTestWindowShownText(window, nullptr, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  PlatformTestWindowShownText(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

BoundedThread::BoundedThread(std::function<void()> body) : finished_(done_.get_future()) {
  thread_ = std::thread([this, body = std::move(body)] {
    body();
    done_.set_value();
  });
}

BoundedThread::~BoundedThread() {
  if (thread_.joinable())
    Join();
}

void BoundedThread::Join(std::chrono::milliseconds timeout) {
  if (finished_.wait_for(timeout) != std::future_status::ready) {
    std::fprintf(stderr, "a test thread did not end in time: giving up instead of hanging\n");
    std::abort();
  }
  thread_.join();
}

int RunLoop() {
  MSG message{};
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
    if (got == -1)
      return -1;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

} // namespace user32_test
