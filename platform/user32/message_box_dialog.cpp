#include "user32/message_box_dialog.h"

#include "user32/controls.h"
#include "user32/dialog.h"
#include "user32/message_box.h"
#include "user32/message_box_icon.h"
#include "user32/paint.h"
#include "user32/rect.h"
#include "user32/window_geometry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace user32 {
namespace {

constexpr LONG kMargin = 12;
constexpr LONG kIconGap = 12;
constexpr LONG kButtonHeight = 23;
constexpr LONG kButtonMinWidth = 75;
constexpr LONG kButtonPadding = 16;
constexpr LONG kButtonGap = 8;
constexpr LONG kButtonRowGap = 16;
constexpr LONG kNarrowestClient = 120;

struct ButtonKind {
  int id;
  const char* caption; // code page 936
};

constexpr ButtonKind kOk{IDOK, "\xC8\xB7\xB6\xA8"};
constexpr ButtonKind kCancel{IDCANCEL, "\xC8\xA1\xCF\xFB"};
constexpr ButtonKind kAbort{IDABORT, "\xD6\xD0\xD6\xB9"};
constexpr ButtonKind kRetry{IDRETRY, "\xD6\xD8\xCA\xD4"};
constexpr ButtonKind kIgnore{IDIGNORE, "\xBA\xF6\xC2\xD4"};
constexpr ButtonKind kYes{IDYES, "\xCA\xC7"};
constexpr ButtonKind kNo{IDNO, "\xB7\xF1"};

// The buttons of the low four bits of the type; an unknown set is OK alone.
std::vector<ButtonKind> ButtonsOf(UINT type) {
  switch (type & 0x0F) {
  case MB_OKCANCEL:
    return {kOk, kCancel};
  case MB_ABORTRETRYIGNORE:
    return {kAbort, kRetry, kIgnore};
  case MB_YESNOCANCEL:
    return {kYes, kNo, kCancel};
  case MB_YESNO:
    return {kYes, kNo};
  case MB_RETRYCANCEL:
    return {kRetry, kCancel};
  default:
    return {kOk};
  }
}

struct BoxSetup {
  const char* text;
  WORD icon;
  std::vector<ButtonKind> buttons;
  int escapeAnswer; // 0: Esc and the close box do nothing
  RECT iconRect;
  RECT textRect;
  RECT firstButton; // the others follow to its right
  LONG buttonStep;
  SIZE client;
};

int EscapeAnswerOf(const std::vector<ButtonKind>& buttons) {
  for (const ButtonKind& button : buttons) {
    if (button.id == IDCANCEL)
      return IDCANCEL;
  }
  return buttons.size() == 1 && buttons[0].id == IDOK ? IDOK : 0;
}

// Measured with the system font the Static and the buttons draw with, and
// the same wrapping, so the Static breaks its lines where this did.
SIZE MeasureText(HDC dc, const char* text, LONG widest, UINT format) {
  RECT area{0, 0, widest, 0};
  DrawTextA(dc, text, static_cast<int>(std::strlen(text)), &area, format | DT_CALCRECT);
  SIZE line{};
  GetTextExtentPoint32A(dc, "", 0, &line);
  return {area.right, std::max(area.bottom, line.cy)};
}

void LayOut(BoxSetup& box) {
  HDC dc = GetDC(nullptr);
  LONG widest = std::min<LONG>(PLATFORM_MESSAGE_BOX_TEXT_WIDTH, GetSystemMetrics(SM_CXSCREEN) * 3 / 4);
  SIZE text = MeasureText(dc, box.text, widest, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  LONG buttonWidth = kButtonMinWidth;
  for (const ButtonKind& button : box.buttons)
    buttonWidth =
        std::max(buttonWidth, MeasureText(dc, button.caption, widest, DT_SINGLELINE).cx + kButtonPadding);
  ReleaseDC(nullptr, dc);

  LONG iconSide = box.icon ? kMessageBoxIconSize : 0;
  LONG textLeft = kMargin + (box.icon ? iconSide + kIconGap : 0);
  LONG content = std::max(text.cy, iconSide);
  auto count = static_cast<LONG>(box.buttons.size());
  LONG row = count * buttonWidth + (count - 1) * kButtonGap;
  LONG width = std::max({textLeft + text.cx + kMargin, row + 2 * kMargin, kNarrowestClient});
  LONG buttonsTop = kMargin + content + kButtonRowGap;

  box.iconRect = {kMargin, kMargin + (content - iconSide) / 2, kMargin + iconSide,
                  kMargin + (content - iconSide) / 2 + iconSide};
  LONG textTop = kMargin + (content - text.cy) / 2;
  box.textRect = {textLeft, textTop, textLeft + text.cx, textTop + text.cy};
  LONG rowLeft = (width - row) / 2;
  box.firstButton = {rowLeft, buttonsTop, rowLeft + buttonWidth, buttonsTop + kButtonHeight};
  box.buttonStep = buttonWidth + kButtonGap;
  box.client = {width, buttonsTop + kButtonHeight + kMargin};
}

HWND Control(HWND box, const char* className, const char* text, DWORD style, const RECT& at, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                         at.right - at.left, at.bottom - at.top, box,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

bool CreateControls(HWND box, const BoxSetup& setup) {
  if (setup.icon && !CreateMessageBoxIcon(box, setup.icon, setup.iconRect.left, setup.iconRect.top,
                                          PLATFORM_MESSAGE_BOX_ICON_ID))
    return false;
  if (!Control(box, "Static", setup.text, SS_LEFT | SS_NOPREFIX, setup.textRect,
               PLATFORM_MESSAGE_BOX_TEXT_ID))
    return false;
  RECT at = setup.firstButton;
  for (size_t i = 0; i < setup.buttons.size(); i++) {
    DWORD kind = i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (!Control(box, "Button", setup.buttons[i].caption, kind | WS_TABSTOP, at, setup.buttons[i].id))
      return false;
    OffsetRect(&at, setup.buttonStep, 0);
  }
  return true;
}

const BoxSetup* SetupOf(HWND box) {
  return reinterpret_cast<const BoxSetup*>(GetWindowLongPtrA(box, GWLP_USERDATA));
}

void Answer(HWND box, int id) {
  const BoxSetup* setup = SetupOf(box);
  if (!setup)
    return;
  for (const ButtonKind& button : setup->buttons) {
    if (button.id == id) {
      EndDialog(box, id);
      return;
    }
  }
  // Esc and the close box arrive as IDCANCEL.
  if (id == IDCANCEL && setup->escapeAnswer)
    EndDialog(box, setup->escapeAnswer);
}

INT_PTR BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_INITDIALOG:
    SetWindowLongPtrA(box, GWLP_USERDATA, lParam);
    if (!CreateControls(box, *reinterpret_cast<const BoxSetup*>(lParam)))
      DestroyWindow(box);
    return TRUE;
  case WM_COMMAND:
    if (HIWORD(wParam) == BN_CLICKED)
      Answer(box, LOWORD(wParam));
    return TRUE;
  default:
    return FALSE;
  }
}

} // namespace

int RunMessageBoxDialog(HWND owner, const char* text, const char* caption, UINT type) {
  BoxSetup setup{};
  setup.text = text;
  setup.icon = MessageBoxIconFor(type);
  setup.buttons = ButtonsOf(type);
  setup.escapeAnswer = EscapeAnswerOf(setup.buttons);
  LayOut(setup);
  HWND box = PlatformCreateDialog(owner, caption, setup.client.cx, setup.client.cy, BoxProc,
                                  reinterpret_cast<LPARAM>(&setup));
  if (!box)
    return 0;
  INT_PTR answer = PlatformRunModalDialog(box);
  if (answer > 0)
    return static_cast<int>(answer);
  // Taken away without an answer (WM_QUIT, or destroyed from outside): as if
  // by Esc; a box that Esc does not answer gives 0.
  return setup.escapeAnswer;
}

} // namespace user32
