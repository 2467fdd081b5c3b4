// Window classes (internal to libuser32): registered by name, found by
// name or atom, names compared without ASCII case.
//
// Guarded by the window system's mutex. A class that windows still use
// stays alive through their shared pointers after it is unregistered.
#pragma once

#include "user32/window_object.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace user32 {

std::string FoldAscii(std::string_view text);

class ClassRegistry {
public:
  // 0 when the name is taken or empty. A class with an atom already set
  // (the system classes) keeps it.
  ATOM Add(WindowClass windowClass);
  // `name` is a class name or an atom (MAKEINTATOM).
  std::shared_ptr<const WindowClass> Find(LPCSTR name) const;
  bool Remove(LPCSTR name);
  void Clear();

private:
  std::map<std::string, std::shared_ptr<const WindowClass>> classes_;
  ATOM next_atom_ = 0xC000;
};

} // namespace user32
