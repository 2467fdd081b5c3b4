#include "kernel32/handle.h"

#include "kernel32/last_error.h"

KernelObject::~KernelObject() = default;

HANDLE HandleTable::Insert(std::shared_ptr<KernelObject> object) {
  if (!object)
    return nullptr;
  std::lock_guard lock(mutex_);
  uintptr_t value = next_;
  next_ += 4;
  objects_.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> HandleTable::Find(HANDLE handle, KernelObjectKind kind) const {
  std::lock_guard lock(mutex_);
  auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
  if (found == objects_.end() || found->second->Kind() != kind)
    return nullptr;
  return found->second;
}

bool HandleTable::Remove(HANDLE handle, KernelObjectKind kind) {
  std::shared_ptr<KernelObject> released;
  {
    std::lock_guard lock(mutex_);
    auto found = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (found == objects_.end() || found->second->Kind() != kind)
      return false;
    released = std::move(found->second);
    objects_.erase(found);
  }
  // Closing a file or a directory happens here, outside the lock.
  return true;
}

size_t HandleTable::Count() const {
  std::lock_guard lock(mutex_);
  return objects_.size();
}

HandleTable& ProcessHandles() {
  // Never destroyed: detached threads may still close handles while the
  // process ends.
  static HandleTable* table = new HandleTable;
  return *table;
}

BOOL CloseHandle(HANDLE handle) {
  HandleTable& table = ProcessHandles();
  if (table.Remove(handle, KernelObjectKind::File) || table.Remove(handle, KernelObjectKind::Thread))
    return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
