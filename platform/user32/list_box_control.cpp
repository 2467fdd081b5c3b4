// The "ListBox" control, single selection.
//
// The user changes the selection with the mouse (a press on an item, or
// dragging over the items while the button is held) and with the arrow,
// Home, End and page keys; with LBS_NOTIFY every such change tells the
// parent LBN_SELCHANGE and a double click on an item LBN_DBLCLK. Changes a
// program makes (LB_SETCURSEL) tell nobody. The wheel scrolls three items
// a notch.
#include "user32/class_registry.h"
#include "user32/control_support.h"
#include "user32/controls.h"
#include "user32/input.h"
#include "user32/rect.h"
#include "user32/system_classes.h"

#include <algorithm>
#include <cstring>

namespace user32 {
namespace {

constexpr LONG kTextMargin = 2;
constexpr int kWheelLines = 3;

struct Item {
  std::string text;
  LPARAM data = 0;
};

struct ListBoxState : ControlBase {
  std::vector<Item> items;
  int selection = -1;
  int top = 0;
  int itemHeight = 0; // 0: the font's line height
  bool tracking = false;
};

int Count(const ListBoxState& state) { return static_cast<int>(state.items.size()); }
bool Valid(const ListBoxState& state, int index) { return index >= 0 && index < Count(state); }

int ItemHeight(HWND window, const ListBoxState& state) {
  if (state.itemHeight > 0)
    return state.itemHeight;
  HDC dc = GetDC(window);
  SelectControlFont(dc, state);
  SIZE extent{};
  GetTextExtentPoint32A(dc, "", 0, &extent);
  ReleaseDC(window, dc);
  return std::max<LONG>(1, extent.cy);
}

int VisibleCount(HWND window, const ListBoxState& state) {
  return std::max(1, static_cast<int>(ClientArea(window).bottom) / ItemHeight(window, state));
}

int HighestTop(HWND window, const ListBoxState& state) {
  return std::max(0, Count(state) - VisibleCount(window, state));
}

void ScrollTo(HWND window, ListBoxState& state, int top) {
  top = std::clamp(top, 0, HighestTop(window, state));
  if (top == state.top)
    return;
  state.top = top;
  Redraw(window);
}

void EnsureVisible(HWND window, ListBoxState& state, int index) {
  int visible = VisibleCount(window, state);
  if (index < state.top)
    ScrollTo(window, state, index);
  else if (index >= state.top + visible)
    ScrollTo(window, state, index - visible + 1);
}

void Select(HWND window, ListBoxState& state, int index, bool byUser) {
  if (index == state.selection)
    return;
  state.selection = index;
  if (Valid(state, index))
    EnsureVisible(window, state, index);
  Redraw(window);
  if (byUser && (StyleOf(window) & LBS_NOTIFY))
    NotifyParent(window, LBN_SELCHANGE);
}

int IndexAt(HWND window, const ListBoxState& state, LPARAM point) {
  int y = GET_Y_LPARAM(point);
  if (y < 0 || y >= ClientArea(window).bottom)
    return -1;
  int index = state.top + y / ItemHeight(window, state);
  return Valid(state, index) ? index : -1;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) { return FoldAscii(a) < FoldAscii(b); }

LRESULT Insert(HWND window, ListBoxState& state, int at, const char* text, bool sorted) {
  Item item{text ? text : "", 0};
  if (sorted) {
    auto place =
        std::upper_bound(state.items.begin(), state.items.end(), item,
                         [](const Item& a, const Item& b) { return LessIgnoringCase(a.text, b.text); });
    at = static_cast<int>(place - state.items.begin());
  } else if (at < 0) {
    at = Count(state);
  } else if (at > Count(state)) {
    return LB_ERR;
  }
  state.items.insert(state.items.begin() + at, std::move(item));
  if (state.selection >= at)
    state.selection++;
  Redraw(window);
  return at;
}

LRESULT Delete(HWND window, ListBoxState& state, int index) {
  if (!Valid(state, index))
    return LB_ERR;
  state.items.erase(state.items.begin() + index);
  if (state.selection == index)
    state.selection = -1;
  else if (state.selection > index)
    state.selection--;
  state.top = std::clamp(state.top, 0, HighestTop(window, state));
  Redraw(window);
  return Count(state);
}

LRESULT KeyDown(HWND window, ListBoxState& state, WPARAM key) {
  if (state.items.empty())
    return 0;
  int page = VisibleCount(window, state);
  int at = state.selection;
  int last = Count(state) - 1;
  switch (key) {
  case VK_UP:
    at = at < 0 ? 0 : at - 1;
    break;
  case VK_DOWN:
    at = at + 1;
    break;
  case VK_PRIOR:
    at = at - page + 1;
    break;
  case VK_NEXT:
    at = at + page - 1;
    break;
  case VK_HOME:
    at = 0;
    break;
  case VK_END:
    at = last;
    break;
  default:
    return 0;
  }
  Select(window, state, std::clamp(at, 0, last), true);
  return 0;
}

LRESULT MouseDown(HWND window, ListBoxState& state, LPARAM point, bool twice) {
  SetFocus(window);
  int index = IndexAt(window, state, point);
  if (Valid(state, index))
    Select(window, state, index, true);
  if (twice) {
    if (Valid(state, index) && (StyleOf(window) & LBS_NOTIFY))
      NotifyParent(window, LBN_DBLCLK);
    return 0;
  }
  state.tracking = true;
  SetCapture(window);
  return 0;
}

LRESULT CopyItemText(const ListBoxState& state, int index, char* buffer) {
  if (!Valid(state, index) || !buffer)
    return LB_ERR;
  const std::string& text = state.items[static_cast<size_t>(index)].text;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

void Paint(HWND window, const ListBoxState& state) {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window, &paint);
  if (!dc)
    return;
  RECT client = ClientArea(window);
  FillRect(dc, &client, ControlBrush(window, dc, WM_CTLCOLORLISTBOX));
  SelectControlFont(dc, state);
  SetBkMode(dc, TRANSPARENT);
  bool enabled = IsWindowEnabled(window);
  COLORREF normal = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  int height = ItemHeight(window, state);
  for (int i = state.top; i < Count(state) && (i - state.top) * height < client.bottom; i++) {
    RECT row{0, (i - state.top) * height, client.right, (i - state.top + 1) * height};
    bool selected = i == state.selection;
    if (selected)
      FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normal);
    RECT text = row;
    text.left += kTextMargin;
    const std::string& item = state.items[static_cast<size_t>(i)].text;
    DrawTextA(dc, item.c_str(), static_cast<int>(item.size()), &text,
              DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    if (selected && Focused(window))
      DrawFocusRect(dc, &row);
  }
  EndPaint(window, &paint);
}

LRESULT ListMessage(HWND window, ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(static_cast<intptr_t>(wParam));
  switch (message) {
  case LB_ADDSTRING:
    return Insert(window, state, -1, reinterpret_cast<const char*>(lParam), StyleOf(window) & LBS_SORT);
  case LB_INSERTSTRING:
    return Insert(window, state, index, reinterpret_cast<const char*>(lParam), false);
  case LB_DELETESTRING:
    return Delete(window, state, index);
  case LB_RESETCONTENT:
    state.items.clear();
    state.selection = -1;
    state.top = 0;
    Redraw(window);
    return 0;
  case LB_GETCOUNT:
    return Count(state);
  case LB_GETCURSEL:
    return Valid(state, state.selection) ? state.selection : LB_ERR;
  case LB_SETCURSEL:
    Select(window, state, Valid(state, index) ? index : -1, false);
    return Valid(state, index) ? index : LB_ERR;
  case LB_GETTEXT:
    return CopyItemText(state, index, reinterpret_cast<char*>(lParam));
  case LB_GETTEXTLEN:
    return Valid(state, index) ? static_cast<LRESULT>(state.items[static_cast<size_t>(index)].text.size())
                               : LB_ERR;
  case LB_GETTOPINDEX:
    return state.top;
  case LB_SETTOPINDEX:
    if (!Valid(state, index))
      return LB_ERR;
    ScrollTo(window, state, index);
    return LB_OKAY;
  case LB_GETITEMDATA:
    return Valid(state, index) ? state.items[static_cast<size_t>(index)].data : LB_ERR;
  case LB_SETITEMDATA:
    if (!Valid(state, index))
      return LB_ERR;
    state.items[static_cast<size_t>(index)].data = lParam;
    return LB_OKAY;
  case LB_GETITEMRECT: {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (!Valid(state, index) || !rect)
      return LB_ERR;
    int height = ItemHeight(window, state);
    *rect = {0, (index - state.top) * height, ClientArea(window).right, (index - state.top + 1) * height};
    return LB_OKAY;
  }
  case LB_GETITEMHEIGHT:
    return ItemHeight(window, state);
  case LB_SETITEMHEIGHT: {
    int height = LOWORD(static_cast<uintptr_t>(lParam));
    if (height <= 0 || height > 255)
      return LB_ERR;
    state.itemHeight = height;
    Redraw(window);
    return LB_OKAY;
  }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT ListBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  auto window = ControlWindow(handle);
  if (!window)
    return DefWindowProcA(handle, message, wParam, lParam);
  auto& state = ControlStateOf<ListBoxState>(*window);
  LRESULT result = 0;
  if (HandleFontMessage(state, handle, message, wParam, lParam, &result))
    return result;
  if (message >= LB_ADDSTRING && message <= LB_GETITEMHEIGHT)
    return ListMessage(handle, state, message, wParam, lParam);
  switch (message) {
  case WM_LBUTTONDOWN:
    return MouseDown(handle, state, lParam, false);
  case WM_LBUTTONDBLCLK:
    return MouseDown(handle, state, lParam, true);
  case WM_MOUSEMOVE:
    if (state.tracking && GetCapture() == handle) {
      int index = IndexAt(handle, state, lParam);
      if (Valid(state, index))
        Select(handle, state, index, true);
    }
    return 0;
  case WM_LBUTTONUP:
    if (state.tracking) {
      state.tracking = false;
      ReleaseCapture();
    }
    return 0;
  case WM_CAPTURECHANGED:
    state.tracking = false;
    return 0;
  case WM_KEYDOWN:
    return KeyDown(handle, state, wParam);
  case WM_MOUSEWHEEL:
    ScrollTo(handle, state, state.top - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines);
    return 0;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    Redraw(handle);
    if (StyleOf(handle) & LBS_NOTIFY)
      NotifyParent(handle, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
  case WM_ENABLE:
  case WM_SETTEXT:
    Redraw(handle);
    return message == WM_SETTEXT ? DefWindowProcA(handle, message, wParam, lParam) : 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_PAINT:
    Paint(handle, state);
    return 0;
  }
  return DefWindowProcA(handle, message, wParam, lParam);
}

} // namespace user32
