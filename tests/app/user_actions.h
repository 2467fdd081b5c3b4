// What a user does with the running program, from a thread of its process:
// find its windows, read what they show, click, type and answer its boxes.
// Every wait is bounded; a wait that runs out is reported as a test failure
// and gives an empty answer, so that a scenario goes on to its end.
#pragma once

#include "win/types.h"

#include <functional>
#include <string>

namespace user {

constexpr DWORD kPatienceMs = 10000;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs);

// A shown top-level window with this title (code page 936), or null.
HWND FindShown(const char* title);
HWND WaitForShown(const char* title, DWORD timeoutMs = kPatienceMs);

// Waits until the start-up has built the whole main window: its last step
// ticks the log box.
void WaitForStart();
HWND MainWindow();
// The main window's control with this identifier (2 to 9).
HWND Control(int id);
std::string TextOf(HWND window);

// The child of `parent` whose text is `text`, or null.
HWND ChildWithText(HWND parent, const char* text);
void Click(HWND window);
void ClickButton(HWND parent, const char* caption);

// A message box the program shows ("信息").
struct Box {
  HWND window = nullptr;
  std::string text; // its message, code page 936
};
Box WaitForBox(DWORD timeoutMs = kPatienceMs);
// Presses the box's button with this caption and waits until it is gone.
void Answer(const Box& box, const char* caption);

// In the folder browser: types the path (code page 936) over the selected
// text of its edit box and presses Enter; or presses Cancel.
void ChooseFolder(const std::string& path);
void CancelFolderBrowser();

// The main window's folder button, and the log box.
void ClickFolderButton();
bool LogBoxTicked();

// Nothing of the kind appears within the time.
void ExpectNoWindow(const char* title, DWORD forMs = 500);

} // namespace user
