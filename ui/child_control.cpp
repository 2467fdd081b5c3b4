#include "ui/child_control.h"

#include "ui/message_dispatch.h"
#include "ui/system_functions.h"

#include <cstdlib>

namespace {

constexpr UINT kGetCheck = 0xF0;      // BM_GETCHECK
constexpr UINT kSetCheck = 0xF1;      // BM_SETCHECK
constexpr UINT kSetImage = 0x172;     // STM_SETIMAGE
constexpr WPARAM kImageBitmap = 0;    // IMAGE_BITMAP
constexpr DWORD kGb2312Charset = 134; // GB2312_CHARSET

// The window styles of each kind: the control style with WS_CHILD,
// WS_VISIBLE and the kind's extra bits.
constexpr ChildControl::Kind kLabelKinds[] = {
    {20, 0x50020001}, // SS_CENTER, WS_GROUP
    {21, 0x50020000}, // SS_LEFT, WS_GROUP
    {22, 0x50020002}, // SS_RIGHT, WS_GROUP
    {23, 0x5000000E}, // SS_BITMAP
    {24, 0x50000010}, // SS_ETCHEDHORZ
    {25, 0x50000011}, // SS_ETCHEDVERT
};
constexpr ChildControl::Kind kButtonKinds[] = {
    {0, 0x50010000}, // BS_PUSHBUTTON, WS_TABSTOP
    {1, 0x50010001}, // BS_DEFPUSHBUTTON, WS_TABSTOP
};
constexpr ChildControl::Kind kCheckBoxKinds[] = {
    {3, 0x50010703}, // BS_AUTOCHECKBOX, WS_TABSTOP, BS_TOP, BS_CENTER
    {5, 0x50010706}, // BS_AUTO3STATE, WS_TABSTOP, BS_TOP, BS_CENTER
};

bool StyleOf(const ChildControl::Kind* kinds, int count, int32_t kind, DWORD& style) {
  for (int i = 0; i < count; i++) {
    if (kinds[i].kind == kind) {
      style = kinds[i].style;
      return true;
    }
  }
  return false;
}

} // namespace

void SetControlFont(HWND window, TextRef face, std::optional<int32_t> height) {
  auto old = reinterpret_cast<HGDIOBJ>(bound::SendMessageA(window, WM_GETFONT, 0, 0));
  HFONT font = bound::CreateFontA(height.value_or(20), 0, 0, 0, 0, 0, 0, 0, kGb2312Charset, 0, 0, 0, 0, face.Bytes());
  bound::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 1);
  bound::DeleteObject(old);
}

HWND ChildControl::Create(intptr_t parent, std::optional<TextRef> caption, std::optional<int32_t> left,
                          std::optional<int32_t> top, std::optional<int32_t> width, std::optional<int32_t> height,
                          std::optional<int32_t> kind) {
  bool foreign = parent < 0;
  HWND parent_window = reinterpret_cast<HWND>(std::llabs(parent));
  const ClassInfo& info = Info();
  own_control_id_ = ControlRegistry.Count() + 1;
  TextValue text = TextValue::Copy(caption.value_or(TextRef(info.defaultCaption)));
  int32_t x = left.value_or(0);
  int32_t y = top.value_or(0);
  int32_t w = width.value_or(80);
  int32_t h = height.value_or(32);
  DWORD style = 0;
  if (!StyleOf(info.kinds, info.kindCount, kind.value_or(info.defaultKind), style)) {
    own_control_id_ = 0;
    return nullptr;
  }
  HWND window = CreateWindowExA(0, info.systemClass, text.Bytes(), style, x, y, w, h, parent_window,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(own_control_id_)), InstanceHandle,
                                nullptr);
  if (!window) {
    own_control_id_ = 0;
    return nullptr;
  }
  SetState(x, y, w, h, 1, window, own_control_id_);
  ControlRegistry.Grow();
  EventEntry* entry = ControlRegistry.Entry(own_control_id_);
  entry->WindowHandle = window;
  entry->Id = own_control_id_;
  SetControlFont(window, "宋体", 12);
  if (foreign)
    SubclassWindow(parent_window);
  return window;
}

void ChildControl::StoreClicked(Handler handler) {
  ControlRegistry.SetHandler(own_control_id_, &EventEntry::Clicked, handler);
}

const ChildControl::ClassInfo& Label::Info() const {
  static const ClassInfo info{"Static", "Qpn静态控件", 22, kLabelKinds, 6};
  return info;
}

const ChildControl::ClassInfo& Button::Info() const {
  static const ClassInfo info{"BUTTON", "按钮", 0, kButtonKinds, 2};
  return info;
}

const ChildControl::ClassInfo& CheckBox::Info() const {
  static const ClassInfo info{"BUTTON", "选择框", 3, kCheckBoxKinds, 2};
  return info;
}

void Label::SetPicture(HANDLE bitmap) {
  bound::SendMessageA(Handle(), kSetImage, kImageBitmap, reinterpret_cast<LPARAM>(bitmap));
}

int32_t CheckBox::CheckState(std::optional<int32_t> state) {
  if (state) {
    int32_t clamped = *state < 0 ? 0 : (*state > 2 ? 2 : *state);
    if (bound::SendMessageA(Handle(), kSetCheck, static_cast<WPARAM>(clamped), 0) != 0)
      return -1;
  }
  return static_cast<int32_t>(bound::SendMessageA(Handle(), kGetCheck, 0, 0));
}
