// The "Button" control: push buttons, check boxes (two- and three-state,
// automatic or not), radio buttons and group boxes.
//
// A press shows the button pushed while the mouse stays on it; releasing
// it inside is a click: an automatic box changes its state first, then the
// parent gets BN_CLICKED. Space (press and release) clicks a focused
// button, Enter a focused push button.
#include "user32/control_support.h"
#include "user32/controls.h"
#include "user32/input.h"
#include "user32/rect.h"
#include "user32/system_classes.h"
#include "user32/window_ops.h"

namespace user32 {
namespace {

constexpr LONG kBoxSize = 13;
constexpr LONG kBoxGap = 4;

struct ButtonState : ControlBase {
  LRESULT check = BST_UNCHECKED;
  bool pushed = false;
  bool spaceHeld = false;
};

DWORD TypeOf(DWORD style) { return style & BS_TYPEMASK; }

bool IsPushButton(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }

bool IsCheckable(DWORD type) {
  return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
         type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

LRESULT HighestState(DWORD type) {
  if (type == BS_3STATE || type == BS_AUTO3STATE)
    return BST_INDETERMINATE;
  return IsCheckable(type) ? BST_CHECKED : BST_UNCHECKED;
}

void SetPushed(HWND window, ButtonState& state, bool pushed) {
  if (state.pushed == pushed)
    return;
  state.pushed = pushed;
  Redraw(window);
}

void Click(HWND window, ButtonState& state) {
  switch (TypeOf(StyleOf(window))) {
  case BS_AUTOCHECKBOX:
    state.check = state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    break;
  case BS_AUTO3STATE:
    state.check = (state.check + 1) % 3;
    break;
  case BS_AUTORADIOBUTTON:
    state.check = BST_CHECKED;
    break;
  }
  Redraw(window);
  NotifyParent(window, BN_CLICKED);
}

bool Inside(HWND window, LPARAM point) {
  RECT client = ClientArea(window);
  return PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)});
}

UINT TextFormat(DWORD style, DWORD defaultAlign) {
  UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  DWORD horizontal = style & BS_CENTER;
  if (horizontal == 0)
    horizontal = defaultAlign;
  if (horizontal == BS_CENTER)
    format |= DT_CENTER;
  else if (horizontal == BS_RIGHT)
    format |= DT_RIGHT;
  DWORD vertical = style & BS_VCENTER;
  if (vertical == BS_BOTTOM)
    format |= DT_BOTTOM;
  else if (vertical != BS_TOP)
    format |= DT_VCENTER;
  return format;
}

// A focused push button shows its focus rectangle around the whole face
// (`faceFocus`); other buttons around their caption.
void DrawCaption(HWND window, HDC dc, const ButtonState& state, RECT area, UINT format,
                 const RECT* faceFocus = nullptr) {
  std::string text = ReadWindowText(window);
  SelectControlFont(dc, state);
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(window))
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
  if (Focused(window) && faceFocus) {
    DrawFocusRect(dc, faceFocus);
  } else if (Focused(window) && !text.empty()) {
    RECT measured = area;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    DrawFocusRect(dc, &measured);
  }
}

void PaintPushButton(HWND window, HDC dc, const ButtonState& state, DWORD style) {
  RECT face = ClientArea(window);
  FillRect(dc, &face, ControlBrush(window, dc, WM_CTLCOLORBTN));
  if (TypeOf(style) == BS_DEFPUSHBUTTON) {
    RECT frame = face;
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&face, -1, -1);
  }
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (state.pushed ? DFCS_PUSHED : 0));
  RECT text = face;
  InflateRect(&text, -3, -3);
  RECT focus = text;
  InflateRect(&focus, -1, -1);
  if (state.pushed)
    OffsetRect(&text, 1, 1);
  DrawCaption(window, dc, state, text, TextFormat(style, BS_CENTER), &focus);
}

void PaintCheckBox(HWND window, HDC dc, const ButtonState& state, DWORD style) {
  RECT client = ClientArea(window);
  FillRect(dc, &client, ControlBrush(window, dc, WM_CTLCOLORSTATIC));
  SelectControlFont(dc, state);
  SIZE line{};
  GetTextExtentPoint32A(dc, "", 0, &line);
  LONG top;
  DWORD vertical = style & BS_VCENTER;
  if (vertical == BS_TOP)
    top = std::max<LONG>(0, (line.cy - kBoxSize) / 2);
  else if (vertical == BS_BOTTOM)
    top = client.bottom - kBoxSize;
  else
    top = (client.bottom - kBoxSize) / 2;
  bool boxRight = style & BS_LEFTTEXT;
  LONG left = boxRight ? client.right - kBoxSize : 0;
  RECT box{left, top, left + kBoxSize, top + kBoxSize};
  DWORD type = TypeOf(style);
  UINT kind = (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) ? DFCS_BUTTONRADIO
              : state.check == BST_INDETERMINATE                     ? DFCS_BUTTON3STATE
                                                                     : DFCS_BUTTONCHECK;
  UINT flags = kind | (state.check != BST_UNCHECKED ? DFCS_CHECKED : 0) | (state.pushed ? DFCS_PUSHED : 0) |
               (IsWindowEnabled(window) ? 0 : DFCS_INACTIVE);
  DrawFrameControl(dc, &box, DFC_BUTTON, flags);
  RECT text = client;
  if (boxRight)
    text.right -= kBoxSize + kBoxGap;
  else
    text.left += kBoxSize + kBoxGap;
  DrawCaption(window, dc, state, text, TextFormat(style, BS_LEFT));
}

void PaintGroupBox(HWND window, HDC dc, const ButtonState& state) {
  RECT client = ClientArea(window);
  FillRect(dc, &client, ControlBrush(window, dc, WM_CTLCOLORSTATIC));
  SelectControlFont(dc, state);
  SIZE line{};
  GetTextExtentPoint32A(dc, "", 0, &line);
  RECT frame = client;
  frame.top += line.cy / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  RECT text{client.left + 8, client.top, client.right - 8, client.top + line.cy};
  DrawCaption(window, dc, state, text, DT_SINGLELINE | DT_LEFT);
}

void Paint(HWND window, const ButtonState& state) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (!dc)
    return;
  DWORD style = StyleOf(window);
  DWORD type = TypeOf(style);
  if (IsPushButton(type))
    PaintPushButton(window, dc, state, style);
  else if (type == BS_GROUPBOX)
    PaintGroupBox(window, dc, state);
  else
    PaintCheckBox(window, dc, state, style);
  EndPaint(window, &paint);
}

LRESULT ButtonDown(HWND window, ButtonState& state) {
  SetFocus(window);
  SetCapture(window);
  SetPushed(window, state, true);
  return 0;
}

LRESULT ButtonUp(HWND window, ButtonState& state, LPARAM point) {
  if (GetCapture() != window)
    return 0;
  bool clicked = state.pushed && Inside(window, point);
  ReleaseCapture();
  SetPushed(window, state, false);
  if (clicked)
    Click(window, state);
  return 0;
}

LRESULT KeyDown(HWND window, ButtonState& state, WPARAM key) {
  if (key == VK_SPACE) {
    state.spaceHeld = true;
    SetPushed(window, state, true);
  } else if (key == VK_RETURN && IsPushButton(TypeOf(StyleOf(window)))) {
    Click(window, state);
  }
  return 0;
}

LRESULT KeyUp(HWND window, ButtonState& state, WPARAM key) {
  if (key != VK_SPACE || !state.spaceHeld)
    return 0;
  state.spaceHeld = false;
  bool clicked = state.pushed;
  SetPushed(window, state, false);
  if (clicked)
    Click(window, state);
  return 0;
}

LRESULT SetCheck(HWND window, ButtonState& state, WPARAM check) {
  DWORD type = TypeOf(StyleOf(window));
  if (!IsCheckable(type))
    return 0;
  LRESULT wanted = std::min(static_cast<LRESULT>(check & 3), HighestState(type));
  if (wanted != state.check) {
    state.check = wanted;
    Redraw(window);
  }
  return 0;
}

} // namespace

LRESULT ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto window = ControlWindow(handle);
  if (!window)
    return DefWindowProcA(handle, message, wParam, lParam);
  auto& state = ControlStateOf<ButtonState>(*window);
  LRESULT result = 0;
  if (HandleFontMessage(state, handle, message, wParam, lParam, &result))
    return result;
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    return ButtonDown(handle, state);
  case WM_MOUSEMOVE:
    if (GetCapture() == handle)
      SetPushed(handle, state, Inside(handle, lParam));
    return 0;
  case WM_LBUTTONUP:
    return ButtonUp(handle, state, lParam);
  case WM_CAPTURECHANGED:
    SetPushed(handle, state, false);
    return 0;
  case WM_KEYDOWN:
    return KeyDown(handle, state, wParam);
  case WM_KEYUP:
    return KeyUp(handle, state, wParam);
  case WM_SETFOCUS:
    Redraw(handle);
    if (StyleOf(handle) & BS_NOTIFY)
      NotifyParent(handle, BN_SETFOCUS);
    return 0;
  case WM_KILLFOCUS:
    state.spaceHeld = false;
    if (GetCapture() == handle)
      ReleaseCapture();
    SetPushed(handle, state, false);
    Redraw(handle);
    if (StyleOf(handle) & BS_NOTIFY)
      NotifyParent(handle, BN_KILLFOCUS);
    return 0;
  case WM_ENABLE:
    Redraw(handle);
    return 0;
  case WM_SETTEXT:
    result = DefWindowProcA(handle, message, wParam, lParam);
    Redraw(handle);
    return result;
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    Paint(handle, state);
    return 0;
  case BM_GETCHECK:
    return IsCheckable(TypeOf(StyleOf(handle))) ? state.check : BST_UNCHECKED;
  case BM_SETCHECK:
    return SetCheck(handle, state, wParam);
  case BM_GETSTATE:
    return state.check | (state.pushed ? BST_PUSHED : 0) | (Focused(handle) ? BST_FOCUS : 0);
  case BM_SETSTATE:
    SetPushed(handle, state, wParam != 0);
    return 0;
  case BM_CLICK:
    if (!IsWindowEnabled(handle))
      return 0;
    SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(handle, WM_LBUTTONUP, 0, 0);
    return 0;
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace user32
