#include "wininet/internet_handles.h"

#include "kernel32/last_error.h"

namespace {
constexpr uintptr_t kHandleStep = 4;
}

HINTERNET InternetHandleTable::add(std::shared_ptr<InternetObject> object) {
  std::lock_guard lock(mutex_);
  uintptr_t id = next_;
  next_ += kHandleStep;
  objects_.emplace(id, std::move(object));
  return reinterpret_cast<HINTERNET>(id);
}

std::shared_ptr<InternetObject> InternetHandleTable::find(HINTERNET handle) const {
  std::lock_guard lock(mutex_);
  auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
  return found == objects_.end() ? nullptr : found->second;
}

bool InternetHandleTable::close(HINTERNET handle) {
  // The objects end outside the lock: a request's transfer may take a
  // moment to shut down.
  std::vector<std::shared_ptr<InternetObject>> closed;
  {
    std::lock_guard lock(mutex_);
    auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (found == objects_.end())
      return false;
    std::vector<HINTERNET> pending = {handle};
    while (!pending.empty()) {
      HINTERNET current = pending.back();
      pending.pop_back();
      for (auto it = objects_.begin(); it != objects_.end();) {
        if (it->second->parent == current) {
          pending.push_back(reinterpret_cast<HINTERNET>(it->first));
          closed.push_back(std::move(it->second));
          it = objects_.erase(it);
        } else {
          ++it;
        }
      }
    }
    found = objects_.find(reinterpret_cast<uintptr_t>(handle));
    closed.push_back(std::move(found->second));
    objects_.erase(found);
  }
  return true;
}

InternetHandleTable& ProcessInternetHandles() {
  static InternetHandleTable table;
  return table;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

HINTERNET FailNull(DWORD error) {
  SetLastError(error);
  return nullptr;
}
