// Icons and cursors: the system's by identifier, the program's as
// registered. Process-wide; a test reset leaves them, as they belong to the
// program image rather than to the window system's state.
#include "user32/resource.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct Icon {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb; // empty for system icons and cursors
};

constexpr WORD kSystemIcons[] = {32512, 32513, 32514, 32515, 32516, 32517};
constexpr WORD kSystemCursors[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                   32644, 32645, 32646, 32648, 32649, 32650};

class IconTable {
public:
  HICON SystemIcon(WORD id, bool cursor) {
    std::lock_guard lock(mutex_);
    auto& map = cursor ? system_cursors_ : system_icons_;
    auto it = map.find(id);
    if (it != map.end())
      return it->second;
    HICON handle = NewHandle(Icon{});
    map.emplace(id, handle);
    return handle;
  }

  HICON Resource(HINSTANCE instance, WORD id) {
    std::lock_guard lock(mutex_);
    auto it = resources_.find({instance, id});
    return it == resources_.end() ? nullptr : it->second;
  }

  void Register(HINSTANCE instance, WORD id, Icon icon) {
    std::lock_guard lock(mutex_);
    auto it = resources_.find({instance, id});
    if (it != resources_.end()) {
      icons_[it->second] = std::move(icon);
      return;
    }
    resources_.emplace(std::make_pair(instance, id), NewHandle(std::move(icon)));
  }

  bool Pixels(HICON handle, const uint32_t** argb, int* width, int* height) {
    std::lock_guard lock(mutex_);
    auto it = icons_.find(handle);
    if (it == icons_.end() || it->second.argb.empty())
      return false;
    *argb = it->second.argb.data();
    *width = it->second.width;
    *height = it->second.height;
    return true;
  }

private:
  HICON NewHandle(Icon icon) {
    HICON handle = reinterpret_cast<HICON>(next_);
    next_ += 4;
    icons_.emplace(handle, std::move(icon));
    return handle;
  }

  std::mutex mutex_;
  uintptr_t next_ = 0x00300000;
  std::map<HICON, Icon> icons_;
  std::map<WORD, HICON> system_icons_;
  std::map<WORD, HICON> system_cursors_;
  std::map<std::pair<HINSTANCE, WORD>, HICON> resources_;
};

IconTable& Icons() {
  static IconTable* table = new IconTable(); // never destroyed: handles outlive static destruction
  return *table;
}

template <size_t N> bool Contains(const WORD (&ids)[N], WORD id) {
  for (WORD known : ids) {
    if (known == id)
      return true;
  }
  return false;
}

WORD IdOf(LPCSTR name) { return static_cast<WORD>(reinterpret_cast<uintptr_t>(name)); }

} // namespace

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (!IS_INTRESOURCE(name))
    return nullptr;
  WORD id = IdOf(name);
  if (!instance)
    return Contains(kSystemIcons, id) ? Icons().SystemIcon(id, false) : nullptr;
  return Icons().Resource(instance, id);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance || !IS_INTRESOURCE(name))
    return nullptr;
  WORD id = IdOf(name);
  return Contains(kSystemCursors, id) ? Icons().SystemIcon(id, true) : nullptr;
}

BOOL PlatformRegisterResourceIcon(HINSTANCE instance, WORD id, const uint32_t* argb, int width, int height) {
  if (!argb || width <= 0 || height <= 0 || width > 1024 || height > 1024)
    return FALSE;
  Icons().Register(
      instance, id,
      Icon{width, height, std::vector<uint32_t>(argb, argb + static_cast<size_t>(width) * height)});
  return TRUE;
}

BOOL PlatformIconPixels(HICON icon, const uint32_t** argb, int* width, int* height) {
  const uint32_t* pixels = nullptr;
  int w = 0, h = 0;
  if (!Icons().Pixels(icon, &pixels, &w, &h))
    return FALSE;
  if (argb)
    *argb = pixels;
  if (width)
    *width = w;
  if (height)
    *height = h;
  return TRUE;
}
