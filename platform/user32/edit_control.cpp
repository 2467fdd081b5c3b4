// The single-line "Edit" control.
//
// The text is the window text; the selection runs between an anchor and
// the caret (the end that moves). Positions are byte offsets that always
// fall on character boundaries, so a two-byte character moves, deletes and
// is replaced as one. Typing replaces the selection; every change of the
// text tells the parent EN_UPDATE and then EN_CHANGE. A lead byte typed
// alone waits for its trail byte (WM_CHAR with the two bytes one after the
// other, or both in one wParam as lead << 8 | trail).
#include "user32/control_support.h"
#include "user32/controls.h"
#include "user32/gbk.h"
#include "user32/input.h"
#include "user32/system_classes.h"
#include "user32/window_ops.h"

#include <algorithm>
#include <cstring>

namespace user32 {
namespace {

constexpr LONG kMargin = 1;
constexpr size_t kDefaultLimit = 30000;
constexpr size_t kLargestLimit = 0x7FFFFFFE;

struct EditState : ControlBase {
  size_t anchor = 0;
  size_t caret = 0;
  size_t firstVisible = 0; // the first byte shown: the text scrolls to keep the caret in view
  size_t limit = kDefaultLimit;
  bool modified = false;
  int pendingLead = -1;
  bool selecting = false;
};

size_t Low(const EditState& s) { return std::min(s.anchor, s.caret); }
size_t High(const EditState& s) { return std::max(s.anchor, s.caret); }

LONG TextWidth(HWND window, const EditState& state, std::string_view text) {
  HDC dc = GetDC(window);
  SelectControlFont(dc, state);
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
  ReleaseDC(window, dc);
  return extent.cx;
}

LONG LineHeight(HWND window, const EditState& state) {
  HDC dc = GetDC(window);
  SelectControlFont(dc, state);
  SIZE extent{};
  GetTextExtentPoint32A(dc, "", 0, &extent);
  ReleaseDC(window, dc);
  return extent.cy;
}

void ScrollToCaret(HWND window, EditState& state, const std::string& text) {
  LONG room = ClientArea(window).right - 2 * kMargin;
  state.firstVisible = std::min(state.firstVisible, state.caret);
  while (state.firstVisible < state.caret &&
         TextWidth(window, state,
                   std::string_view(text).substr(state.firstVisible, state.caret - state.firstVisible)) >
             room)
    state.firstVisible = NextBoundary(text, state.firstVisible);
}

void Changed(HWND window) {
  NotifyParent(window, EN_UPDATE);
  NotifyParent(window, EN_CHANGE);
}

// What of `insert` fits under the limit, cut on a character boundary.
std::string_view Fitting(std::string_view insert, size_t room) {
  if (insert.size() <= room)
    return insert;
  size_t cut = SnapToBoundary(insert, room);
  if (cut < insert.size() && cut + CharLength(insert, cut) <= room)
    cut += CharLength(insert, cut);
  return insert.substr(0, cut);
}

void ReplaceSelection(HWND window, EditState& state, std::string_view insert) {
  if (StyleOf(window) & ES_READONLY)
    return;
  std::string text = ReadWindowText(window);
  size_t low = Low(state), high = High(state);
  size_t room = state.limit > text.size() - (high - low) ? state.limit - (text.size() - (high - low)) : 0;
  std::string_view fitting = Fitting(insert, room);
  if (fitting.size() < insert.size())
    NotifyParent(window, EN_MAXTEXT);
  if (fitting.empty() && low == high)
    return;
  text.replace(low, high - low, fitting);
  StoreWindowText(window, text.data(), text.size());
  state.anchor = state.caret = low + fitting.size();
  state.modified = true;
  ScrollToCaret(window, state, text);
  Redraw(window);
  Changed(window);
}

void MoveCaret(HWND window, EditState& state, size_t to, bool extend) {
  state.caret = to;
  if (!extend)
    state.anchor = to;
  ScrollToCaret(window, state, ReadWindowText(window));
  Redraw(window);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

size_t WordStart(const std::string& text, size_t at) {
  while (at > 0 && IsBlank(text[PreviousBoundary(text, at)]))
    at = PreviousBoundary(text, at);
  while (at > 0 && !IsBlank(text[PreviousBoundary(text, at)]))
    at = PreviousBoundary(text, at);
  return at;
}

size_t WordEnd(const std::string& text, size_t at) {
  while (at < text.size() && !IsBlank(text[at]))
    at = NextBoundary(text, at);
  while (at < text.size() && IsBlank(text[at]))
    at = NextBoundary(text, at);
  return at;
}

LRESULT KeyDown(HWND window, EditState& state, WPARAM key) {
  std::string text = ReadWindowText(window);
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  bool selection = state.anchor != state.caret;
  switch (key) {
  case VK_LEFT:
    if (selection && !shift)
      MoveCaret(window, state, Low(state), false);
    else
      MoveCaret(window, state, control ? WordStart(text, state.caret) : PreviousBoundary(text, state.caret),
                shift);
    break;
  case VK_RIGHT:
    if (selection && !shift)
      MoveCaret(window, state, High(state), false);
    else
      MoveCaret(window, state, control ? WordEnd(text, state.caret) : NextBoundary(text, state.caret), shift);
    break;
  case VK_HOME:
    MoveCaret(window, state, 0, shift);
    break;
  case VK_END:
    MoveCaret(window, state, text.size(), shift);
    break;
  case VK_DELETE:
    if (!selection) {
      state.anchor = state.caret;
      state.caret = NextBoundary(text, state.caret);
    }
    ReplaceSelection(window, state, "");
    break;
  case 'A':
    if (control) {
      state.anchor = 0;
      MoveCaret(window, state, text.size(), true);
    }
    break;
  }
  return 0;
}

LRESULT Character(HWND window, EditState& state, WPARAM code) {
  if (code > 0xFF) {
    char pair[2] = {static_cast<char>((code >> 8) & 0xFF), static_cast<char>(code & 0xFF)};
    ReplaceSelection(window, state, std::string_view(pair, 2));
    return 0;
  }
  auto byte = static_cast<unsigned char>(code);
  if (state.pendingLead >= 0) {
    char pair[2] = {static_cast<char>(state.pendingLead), static_cast<char>(byte)};
    state.pendingLead = -1;
    if (IsTrailByte(byte)) {
      ReplaceSelection(window, state, std::string_view(pair, 2));
      return 0;
    }
  }
  if (byte == '\b') {
    if (state.anchor == state.caret) {
      std::string text = ReadWindowText(window);
      state.anchor = state.caret;
      state.caret = PreviousBoundary(text, state.caret);
    }
    ReplaceSelection(window, state, "");
  } else if (byte < 0x20 || byte == 0x7F) {
    // Enter, Tab, Escape and the control characters of Ctrl+letter type nothing.
  } else if (IsLeadByte(byte)) {
    state.pendingLead = byte;
  } else {
    char single = static_cast<char>(byte);
    ReplaceSelection(window, state, std::string_view(&single, 1));
  }
  return 0;
}

size_t PositionAt(HWND window, const EditState& state, LONG x) {
  std::string text = ReadWindowText(window);
  size_t at = state.firstVisible;
  LONG left = kMargin;
  while (at < text.size()) {
    size_t next = NextBoundary(text, at);
    LONG width = TextWidth(window, state, std::string_view(text).substr(at, next - at));
    if (x < left + width / 2)
      break;
    left += width;
    at = next;
  }
  return at;
}

LRESULT MouseDown(HWND window, EditState& state, LPARAM point, bool twice) {
  SetFocus(window);
  std::string text = ReadWindowText(window);
  size_t at = PositionAt(window, state, GET_X_LPARAM(point));
  if (twice) {
    state.anchor = WordStart(text, at);
    MoveCaret(window, state, std::max(at, WordEnd(text, at)), true);
    return 0;
  }
  MoveCaret(window, state, at, GetKeyState(VK_SHIFT) < 0);
  state.selecting = true;
  SetCapture(window);
  return 0;
}

LRESULT SetSelection(HWND window, EditState& state, WPARAM wParam, LPARAM lParam) {
  std::string text = ReadWindowText(window);
  auto start = static_cast<intptr_t>(static_cast<int>(wParam));
  auto end = static_cast<intptr_t>(static_cast<int>(lParam));
  if (start < 0) {
    state.anchor = state.caret;
  } else {
    size_t size = text.size();
    size_t from = std::min(static_cast<size_t>(start), size);
    size_t to = end < 0 ? size : std::min(static_cast<size_t>(end), size);
    state.anchor = SnapToBoundary(text, from);
    state.caret = SnapToBoundary(text, to);
  }
  ScrollToCaret(window, state, text);
  Redraw(window);
  return 0;
}

LRESULT GetSelection(const EditState& state, WPARAM wParam, LPARAM lParam) {
  auto low = static_cast<DWORD>(Low(state));
  auto high = static_cast<DWORD>(High(state));
  if (wParam)
    *reinterpret_cast<DWORD*>(wParam) = low;
  if (lParam)
    *reinterpret_cast<DWORD*>(lParam) = high;
  if (low > 0xFFFF || high > 0xFFFF)
    return -1;
  return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high)));
}

void DrawSegment(HDC dc, std::string_view part, LONG& x, LONG y, LONG height, LONG width, bool selected,
                 COLORREF normal) {
  if (part.empty())
    return;
  RECT rect{x, y, x + width, y + height};
  if (selected) {
    FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    SetTextColor(dc, normal);
  }
  DrawTextA(dc, part.data(), static_cast<int>(part.size()), &rect, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
  x += width;
}

void Paint(HWND window, const EditState& state) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (!dc)
    return;
  DWORD style = StyleOf(window);
  bool enabled = IsWindowEnabled(window);
  RECT client = ClientArea(window);
  UINT colour = (!enabled || (style & ES_READONLY)) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  FillRect(dc, &client, ControlBrush(window, dc, colour));
  SelectControlFont(dc, state);
  SetBkMode(dc, TRANSPARENT);
  COLORREF normal = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);

  std::string text = ReadWindowText(window);
  std::string_view all(text);
  bool focused = Focused(window);
  bool showSelection = focused || (style & ES_NOHIDESEL);
  size_t first = std::min(state.firstVisible, text.size());
  size_t low = std::clamp(Low(state), first, text.size());
  size_t high = std::clamp(High(state), first, text.size());
  if (!showSelection)
    low = high = text.size();
  LONG height = LineHeight(window, state);
  LONG x = kMargin;
  LONG y = kMargin;
  auto part = [&](size_t from, size_t to) { return all.substr(from, to - from); };
  DrawSegment(dc, part(first, low), x, y, height, TextWidth(window, state, part(first, low)), false, normal);
  DrawSegment(dc, part(low, high), x, y, height, TextWidth(window, state, part(low, high)), true, normal);
  DrawSegment(dc, part(high, text.size()), x, y, height, TextWidth(window, state, part(high, text.size())),
              false, normal);
  if (focused && state.anchor == state.caret) {
    LONG caretX =
        kMargin + TextWidth(window, state, part(first, std::max(first, std::min(state.caret, text.size()))));
    RECT caret{caretX, y, caretX + 1, y + height};
    FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
  EndPaint(window, &paint);
}

} // namespace

LRESULT EditProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto window = ControlWindow(handle);
  if (!window)
    return DefWindowProcA(handle, message, wParam, lParam);
  auto& state = ControlStateOf<EditState>(*window);
  LRESULT result = 0;
  if (HandleFontMessage(state, handle, message, wParam, lParam, &result))
    return result;
  switch (message) {
  case WM_CHAR:
    return Character(handle, state, wParam);
  case WM_KEYDOWN:
    return KeyDown(handle, state, wParam);
  case WM_LBUTTONDOWN:
    return MouseDown(handle, state, lParam, false);
  case WM_LBUTTONDBLCLK:
    return MouseDown(handle, state, lParam, true);
  case WM_MOUSEMOVE:
    if (state.selecting && GetCapture() == handle)
      MoveCaret(handle, state, PositionAt(handle, state, GET_X_LPARAM(lParam)), true);
    return 0;
  case WM_LBUTTONUP:
    if (state.selecting) {
      state.selecting = false;
      ReleaseCapture();
    }
    return 0;
  case WM_CAPTURECHANGED:
    state.selecting = false;
    return 0;
  case WM_SETTEXT:
    result = DefWindowProcA(handle, message, wParam, lParam);
    state.anchor = state.caret = state.firstVisible = 0;
    state.modified = false;
    state.pendingLead = -1;
    Redraw(handle);
    Changed(handle);
    return result;
  case WM_SETFOCUS:
    Redraw(handle);
    NotifyParent(handle, EN_SETFOCUS);
    return 0;
  case WM_KILLFOCUS:
    state.selecting = false;
    state.pendingLead = -1;
    Redraw(handle);
    NotifyParent(handle, EN_KILLFOCUS);
    return 0;
  case WM_ENABLE:
    Redraw(handle);
    return 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    Paint(handle, state);
    return 0;
  case EM_GETSEL:
    return GetSelection(state, wParam, lParam);
  case EM_SETSEL:
    return SetSelection(handle, state, wParam, lParam);
  case EM_REPLACESEL: {
    auto* text = reinterpret_cast<const char*>(lParam);
    bool readOnly = StyleOf(handle) & ES_READONLY;
    // A program may replace the selection of a read-only box; the user may not.
    if (readOnly)
      SetWindowLongA(handle, GWL_STYLE, static_cast<LONG_PTR>(StyleOf(handle) & ~ES_READONLY));
    ReplaceSelection(handle, state, text ? text : "");
    if (readOnly)
      SetWindowLongA(handle, GWL_STYLE, static_cast<LONG_PTR>(StyleOf(handle) | ES_READONLY));
    return 0;
  }
  case EM_LIMITTEXT:
    state.limit = wParam ? std::min(static_cast<size_t>(wParam), kLargestLimit) : kLargestLimit;
    return 0;
  case EM_GETLIMITTEXT:
    return static_cast<LRESULT>(state.limit);
  case EM_GETMODIFY:
    return state.modified ? TRUE : FALSE;
  case EM_SETMODIFY:
    state.modified = wParam != 0;
    return 0;
  case EM_SETREADONLY: {
    DWORD style = StyleOf(handle);
    SetWindowLongA(handle, GWL_STYLE,
                   static_cast<LONG_PTR>(wParam ? (style | ES_READONLY) : (style & ~ES_READONLY)));
    Redraw(handle);
    return TRUE;
  }
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace user32
