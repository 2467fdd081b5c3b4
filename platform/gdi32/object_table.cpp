#include "gdi32/object_table.h"

#include <cstring>

namespace gdi32 {
namespace {

// Far from the window handles, to make a mixed-up handle easy to spot.
constexpr uintptr_t kFirstHandle = 0x00A00000;
constexpr uintptr_t kHandleStep = 4;

PlatformFontSpec FontSpec(const char* face, int height, int weight) {
  PlatformFontSpec font_spec{};
  std::strncpy(font_spec.face, face, LF_FACESIZE - 1);
  font_spec.height = height;
  font_spec.weight = weight;
  font_spec.charSet = static_cast<BYTE>(DEFAULT_CHARSET);
  return font_spec;
}

} // namespace

PlatformFontSpec SystemFontSpec() { return FontSpec("System", 16, FW_BOLD); }

ObjectTable::ObjectTable() : next_(kFirstHandle) {
  auto brush = [](COLORREF c) { return BrushObject{c, false}; };
  stock_[WHITE_BRUSH] = Add(brush(RGB(255, 255, 255)), true);
  stock_[LTGRAY_BRUSH] = Add(brush(RGB(192, 192, 192)), true);
  stock_[GRAY_BRUSH] = Add(brush(RGB(128, 128, 128)), true);
  stock_[DKGRAY_BRUSH] = Add(brush(RGB(64, 64, 64)), true);
  stock_[BLACK_BRUSH] = Add(brush(RGB(0, 0, 0)), true);
  stock_[NULL_BRUSH] = Add(BrushObject{0, true}, true);
  stock_[WHITE_PEN] = Add(PenObject{RGB(255, 255, 255), false}, true);
  stock_[BLACK_PEN] = Add(PenObject{RGB(0, 0, 0), false}, true);
  stock_[NULL_PEN] = Add(PenObject{0, true}, true);
  stock_[OEM_FIXED_FONT] = Add(FontObject{FontSpec("Terminal", 12, FW_NORMAL)}, true);
  stock_[ANSI_FIXED_FONT] = Add(FontObject{FontSpec("Courier", 13, FW_NORMAL)}, true);
  stock_[ANSI_VAR_FONT] = Add(FontObject{FontSpec("MS Sans Serif", 13, FW_NORMAL)}, true);
  stock_[SYSTEM_FONT] = Add(FontObject{SystemFontSpec()}, true);
  stock_[DEVICE_DEFAULT_FONT] = Add(FontObject{SystemFontSpec()}, true);
  stock_[SYSTEM_FIXED_FONT] = Add(FontObject{FontSpec("Fixedsys", 16, FW_NORMAL)}, true);
  stock_[DEFAULT_GUI_FONT] = Add(FontObject{FontSpec("SimSun", -12, FW_NORMAL)}, true);
}

HGDIOBJ ObjectTable::Add(GdiObject object, bool permanent) {
  std::lock_guard lock(mutex_);
  uintptr_t handle = next_;
  next_ += kHandleStep;
  objects_.emplace(handle, Entry{std::move(object), permanent});
  return reinterpret_cast<HGDIOBJ>(handle);
}

bool ObjectTable::Delete(HGDIOBJ handle) {
  // The painter goes after the lock is released: destroying it shows the
  // picture, which may take the display a while.
  std::optional<Entry> removed;
  {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects_.end())
      return false;
    if (it->second.permanent)
      return true;
    removed.emplace(std::move(it->second));
    objects_.erase(it);
  }
  return true;
}

HGDIOBJ ObjectTable::Stock(int which) const {
  if (which < 0 || which >= static_cast<int>(sizeof stock_ / sizeof stock_[0]))
    return nullptr;
  return stock_[which];
}

ObjectTable& Objects() {
  // Never destroyed: detached threads may still paint while the process ends.
  static ObjectTable* table = new ObjectTable();
  return *table;
}

} // namespace gdi32
