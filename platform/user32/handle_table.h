// Window handles (internal to libuser32): the table from handle to window.
//
// Handles count up from one process-wide counter that no table resets, so a
// handle is never reused while the process runs, even across fresh tables.
// Guarded by the window system's mutex.
#pragma once

#include "user32/window_object.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace user32 {

class HandleTable {
public:
  HWND Add(std::shared_ptr<Window> window);
  std::shared_ptr<Window> Find(HWND handle) const;
  void Remove(HWND handle);
  std::vector<std::shared_ptr<Window>> All() const;
  void Clear() { windows_.clear(); }

private:
  std::unordered_map<uintptr_t, std::shared_ptr<Window>> windows_;
};

} // namespace user32
