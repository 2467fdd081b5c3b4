#include "user32/handle_table.h"

#include <atomic>

namespace user32 {
namespace {

// Small even values that fit the 32-bit fields of the system's records.
constexpr uintptr_t kFirstHandle = 0x00010000;
constexpr uintptr_t kHandleStep = 2;

std::atomic<uintptr_t> next_handle{kFirstHandle};

} // namespace

HWND HandleTable::Add(std::shared_ptr<Window> window) {
  uintptr_t value = next_handle.fetch_add(kHandleStep);
  HWND handle = reinterpret_cast<HWND>(value);
  window->handle = handle;
  windows_.emplace(value, std::move(window));
  return handle;
}

std::shared_ptr<Window> HandleTable::Find(HWND handle) const {
  auto it = windows_.find(reinterpret_cast<uintptr_t>(handle));
  return it == windows_.end() ? nullptr : it->second;
}

void HandleTable::Remove(HWND handle) { windows_.erase(reinterpret_cast<uintptr_t>(handle)); }

std::vector<std::shared_ptr<Window>> HandleTable::All() const {
  std::vector<std::shared_ptr<Window>> all;
  all.reserve(windows_.size());
  for (const auto& [value, window] : windows_)
    all.push_back(window);
  return all;
}

} // namespace user32
