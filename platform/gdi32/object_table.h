// The process's table of GDI objects (internal to libgdi32).
//
// Handles are counted up from a base and never reused, so a deleted or
// made-up handle finds nothing. The table serialises its own operations;
// a DC's painter is used outside the lock, by the one thread that uses the
// DC.
#pragma once

#include "gdi32/painter.h"

#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <variant>
#include <vector>

namespace gdi32 {

struct FontObject {
  PlatformFontSpec font_spec;
};

struct BrushObject {
  COLORREF color;
  bool hollow;
};

struct PenObject {
  COLORREF color;
  bool null;
};

struct BitmapObject {
  int width;
  int height;
  std::vector<uint32_t> argb;
};

struct DcObject {
  std::unique_ptr<Painter> painter;
  HGDIOBJ font;
  HGDIOBJ brush;
  HGDIOBJ pen;
  COLORREF textColor;
  COLORREF bkColor;
  int bkMode;
};

using GdiObject = std::variant<FontObject, BrushObject, PenObject, BitmapObject, DcObject>;

class ObjectTable {
public:
  ObjectTable();

  HGDIOBJ Add(GdiObject object, bool permanent = false);
  // False for an unknown handle; true (and nothing done) for a permanent one.
  bool Delete(HGDIOBJ handle);
  HGDIOBJ Stock(int which) const;

  // Runs `f` on the object under the table's lock; false when unknown.
  template <typename F> bool With(HGDIOBJ handle, F&& f) {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects_.end())
      return false;
    f(it->second.object);
    return true;
  }

private:
  struct Entry {
    GdiObject object;
    bool permanent;
  };

  std::mutex mutex_;
  std::unordered_map<uintptr_t, Entry> objects_;
  uintptr_t next_;
  HGDIOBJ stock_[18] = {};
};

ObjectTable& Objects();

// The system font: what a DC starts with and what an unknown font reads as.
PlatformFontSpec SystemFontSpec();

} // namespace gdi32
