// Message boxes.
//
// A box is a modal dialog of the window system's own windows (class
// PLATFORM_DIALOG_CLASS, "#32770"), titled with the caption ("Error" when
// null) and sized to its contents: the icon of the MB_ICON* bits, the text
// word-wrapped to at most PLATFORM_MESSAGE_BOX_TEXT_WIDTH pixels (CJK text
// wraps between characters) and a row of buttons in the platform's order
// (OK Cancel; Abort Retry Ignore; Yes No Cancel; Yes No; Retry Cancel)
// captioned "确定", "取消", "中止", "重试", "忽略", "是", "否" (code page 936).
// The first button is the default one: Enter presses it while no other
// button has the focus. Esc and the close box answer IDCANCEL when the box
// has Cancel, IDOK for an MB_OK box, and do nothing otherwise.
//
// The box belongs to the calling thread (any thread) and runs its own
// modal loop there, dispatching the thread's other windows' messages, until
// it is answered. Without an owner it is centred on the screen and disables
// nothing; with one it is centred over the owner's top-level window, which
// is disabled while the box is open.
//
// Who answers, in this order: a responder set by a test; when the headless
// display is in use and the process has no top-level window at all (a
// program or test that shows no window, so nobody could answer), the box
// is printed to standard error as "MessageBox [caption] text" in UTF-8 and
// answered IDOK; otherwise the dialog, answered by the user or by a test
// through user32/dialog_test.h.
//
// Control identifiers, stable for tests: each button has its answer's
// identifier (IDOK ... IDNO), the text is the Static
// PLATFORM_MESSAGE_BOX_TEXT_ID and the icon, when there is one, the window
// PLATFORM_MESSAGE_BOX_ICON_ID of the class PLATFORM_MESSAGE_BOX_ICON_CLASS,
// whose GWLP_USERDATA holds the icon's IDI_* identifier.
#pragma once

#include "win/types.h"

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

constexpr int PLATFORM_MESSAGE_BOX_TEXT_ID = 0xFFFF;
constexpr int PLATFORM_MESSAGE_BOX_ICON_ID = 20;
constexpr const char* PLATFORM_MESSAGE_BOX_ICON_CLASS = "MessageBoxIcon";
constexpr int PLATFORM_MESSAGE_BOX_TEXT_WIDTH = 440;

// The button pressed, or 0 when no box could be shown.
PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// What a box showed, for tests: the texts are the caller's code page 936 bytes.
struct PlatformMessageBox {
  HWND owner;
  LPCSTR text;
  LPCSTR caption;
  UINT type;
};

// A responder answers every box in place of a user; it returns the button
// identifier (IDOK, IDCANCEL, ...), or 0 for a box that could not be shown.
// Null removes it.
using PlatformMessageBoxResponder = int (*)(const PlatformMessageBox* box, void* context);
PLATFORM_API void PlatformTestSetMessageBoxResponder(PlatformMessageBoxResponder responder, void* context);
