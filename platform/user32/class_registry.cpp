#include "user32/class_registry.h"

#include "user32/resource.h"

namespace user32 {

std::string FoldAscii(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

ATOM ClassRegistry::Add(WindowClass windowClass) {
  windowClass.key = FoldAscii(windowClass.name);
  if (windowClass.key.empty() || classes_.count(windowClass.key))
    return 0;
  if (windowClass.atom == 0)
    windowClass.atom = next_atom_++;
  ATOM atom = windowClass.atom;
  std::string key = windowClass.key;
  classes_.emplace(std::move(key), std::make_shared<const WindowClass>(std::move(windowClass)));
  return atom;
}

std::shared_ptr<const WindowClass> ClassRegistry::Find(LPCSTR name) const {
  if (!name)
    return nullptr;
  if (IS_INTRESOURCE(name)) {
    auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    for (const auto& [key, windowClass] : classes_) {
      if (windowClass->atom == atom)
        return windowClass;
    }
    return nullptr;
  }
  auto it = classes_.find(FoldAscii(name));
  return it == classes_.end() ? nullptr : it->second;
}

bool ClassRegistry::Remove(LPCSTR name) {
  auto windowClass = Find(name);
  if (!windowClass || windowClass->system)
    return false;
  classes_.erase(windowClass->key);
  return true;
}

void ClassRegistry::Clear() {
  classes_.clear();
  next_atom_ = 0xC000;
}

} // namespace user32
