#include "user_actions.h"

#include "user32/controls.h"
#include "user32/dialog_test.h"
#include "user32/headless_display.h"
#include "user32/input.h"
#include "user32/message.h"
#include "user32/message_box.h"
#include "user32/window.h"
#include "user32/window_geometry.h"

#include <gtest/gtest.h>

#include <thread>

namespace user {

namespace {

constexpr const char* kMainTitle = "QuenmarCantiva V1.1";
constexpr const char* kBoxTitle = "信息";
constexpr const char* kBrowserTitle = "浏览文件夹";
constexpr int kFolderButtonId = 8;
constexpr int kLogBoxId = 9;

struct TextSearch {
  const char* text;
  HWND found;
};

BOOL MatchText(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TextSearch*>(data);
  if (TextOf(window) != search->text)
    return TRUE;
  search->found = window;
  return FALSE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  for (DWORD waited = 0;; waited += 10) {
    if (condition())
      return true;
    if (waited >= timeoutMs)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

HWND FindShown(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  return window && IsWindowVisible(window) ? window : nullptr;
}

HWND WaitForShown(const char* title, DWORD timeoutMs) {
  HWND window = nullptr;
  if (!WaitUntil([&] { return (window = FindShown(title)) != nullptr; }, timeoutMs))
    ADD_FAILURE() << "no window \"" << title << "\" appeared";
  return window;
}

void WaitForStart() {
  bool started = WaitUntil([] {
    HWND main = FindShown(kMainTitle);
    HWND log_box = main ? GetDlgItem(main, kLogBoxId) : nullptr;
    return log_box && SendMessageA(log_box, BM_GETCHECK, 0, 0) == BST_CHECKED;
  });
  if (!started)
    ADD_FAILURE() << "the main window was not built";
}

HWND MainWindow() { return WaitForShown(kMainTitle); }

HWND Control(int id) { return GetDlgItem(MainWindow(), id); }

std::string TextOf(HWND window) {
  char text[1024] = {};
  int n = GetWindowTextA(window, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

HWND ChildWithText(HWND parent, const char* text) {
  TextSearch search{text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Click(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_TRUE(PlatformTestClickWindow(window, client.right / 2, client.bottom / 2));
}

void ClickButton(HWND parent, const char* caption) {
  HWND button = ChildWithText(parent, caption);
  if (!button) {
    ADD_FAILURE() << "no button \"" << caption << "\"";
    return;
  }
  Click(button);
}

HWND WaitForDialog(const char* title, DWORD timeoutMs) {
  HWND dialog = PlatformTestWaitForDialog(title, timeoutMs);
  if (!dialog)
    ADD_FAILURE() << "no dialog \"" << title << "\" became ready";
  return dialog;
}

void CloseBy(HWND dialog, const char* caption) {
  if (!PlatformTestPressDialogButton(dialog, caption))
    ADD_FAILURE() << "no button \"" << caption << "\"";
  else if (!PlatformTestWaitForWindowGone(dialog, kPatienceMs))
    ADD_FAILURE() << "the dialog stayed open after \"" << caption << "\"";
}

Box WaitForBox(DWORD timeoutMs) {
  Box box;
  box.window = WaitForDialog(kBoxTitle, timeoutMs);
  if (box.window)
    box.text = TextOf(GetDlgItem(box.window, PLATFORM_MESSAGE_BOX_TEXT_ID));
  return box;
}

void Answer(const Box& box, const char* caption) {
  if (box.window)
    CloseBy(box.window, caption);
}

void ChooseFolder(const std::string& path) {
  HWND browser = WaitForDialog(kBrowserTitle, kPatienceMs);
  if (!browser)
    return;
  EXPECT_TRUE(PlatformTestTypeText(path.c_str()));
  EXPECT_TRUE(PlatformTestPressKey(VK_RETURN));
  if (!PlatformTestWaitForWindowGone(browser, kPatienceMs))
    ADD_FAILURE() << "the folder browser stayed open for " << path;
}

void CancelFolderBrowser() {
  if (HWND browser = WaitForDialog(kBrowserTitle, kPatienceMs))
    CloseBy(browser, "取消");
}

void ClickFolderButton() { Click(Control(kFolderButtonId)); }

bool LogBoxTicked() { return SendMessageA(Control(kLogBoxId), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void ExpectNoWindow(const char* title, DWORD forMs) {
  EXPECT_FALSE(WaitUntil([&] { return FindShown(title) != nullptr; }, forMs))
      << "\"" << title << "\" appeared";
}

} // namespace user
