// The process's kernel objects (open files, directory listings, threads)
// behind HANDLE values.
//
// A handle value names one object for the whole run: values are never
// reused, and neither 0 nor INVALID_HANDLE_VALUE is ever handed out. The
// table is safe to use from every thread; an object looked up stays alive
// for as long as the caller holds it, even if another thread closes its
// handle meanwhile.
#pragma once

#include "win/types.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

enum class KernelObjectKind { File, Find, Thread };

class __attribute__((visibility("default"))) KernelObject {
public:
  explicit KernelObject(KernelObjectKind kind) : kind_(kind) {}
  virtual ~KernelObject();
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;

  KernelObjectKind Kind() const { return kind_; }

private:
  KernelObjectKind kind_;
};

class __attribute__((visibility("default"))) HandleTable {
public:
  HANDLE Insert(std::shared_ptr<KernelObject> object);

  // The object behind the handle when it is of that kind, else null.
  std::shared_ptr<KernelObject> Find(HANDLE handle, KernelObjectKind kind) const;

  template <typename T> std::shared_ptr<T> FindAs(HANDLE handle) const {
    return std::static_pointer_cast<T>(Find(handle, T::kKind));
  }

  // Releases the handle when it names an object of that kind. The object
  // itself ends when its last holder lets it go.
  bool Remove(HANDLE handle, KernelObjectKind kind);

  size_t Count() const;

private:
  mutable std::mutex mutex_;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects_;
  // Multiples of 4 from 0x100 up, as Windows hands them out.
  uintptr_t next_ = 0x100;
};

// The table of this process.
__attribute__((visibility("default"))) HandleTable& ProcessHandles();

// Closes a file or thread handle; a thread keeps running.
PLATFORM_API BOOL CloseHandle(HANDLE handle);
