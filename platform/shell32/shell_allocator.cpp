#include "shell32/shell_allocator.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace {

constexpr SIZE_T kUnknownSize = static_cast<SIZE_T>(-1);

// Blocks come from the C heap; the table of live blocks with the sizes
// asked for is what lets the allocator tell its own blocks from others.
class Allocator final : public IMalloc {
public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object)
      return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMalloc) {
      AddRef();
      *object = static_cast<IMalloc*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  // The allocator outlives every reference: its blocks may be freed late.
  ULONG Release() override {
    ULONG count = references_.load();
    while (count > 1 && !references_.compare_exchange_weak(count, count - 1)) {
    }
    return count > 1 ? count - 1 : 1;
  }

  void* Alloc(SIZE_T bytes) override {
    void* block = std::malloc(bytes ? bytes : 1);
    if (block)
      Remember(block, bytes);
    return block;
  }

  void* Realloc(void* block, SIZE_T bytes) override {
    if (!block)
      return Alloc(bytes);
    if (bytes == 0) {
      Free(block);
      return nullptr;
    }
    std::lock_guard lock(mutex_);
    auto found = live_.find(block);
    if (found == live_.end())
      return nullptr;
    void* moved = std::realloc(block, bytes);
    if (!moved)
      return nullptr;
    live_.erase(found);
    live_.emplace(moved, bytes);
    return moved;
  }

  void Free(void* block) override {
    if (!block)
      return;
    std::lock_guard lock(mutex_);
    if (live_.erase(block))
      std::free(block);
  }

  SIZE_T GetSize(void* block) override {
    std::lock_guard lock(mutex_);
    auto found = live_.find(block);
    return found == live_.end() ? kUnknownSize : found->second;
  }

  int DidAlloc(void* block) override {
    if (!block)
      return -1;
    std::lock_guard lock(mutex_);
    return live_.count(block) ? 1 : 0;
  }

  void HeapMinimize() override {}

private:
  void Remember(void* block, SIZE_T bytes) {
    std::lock_guard lock(mutex_);
    live_.emplace(block, bytes);
  }

  std::atomic<ULONG> references_{1};
  std::mutex mutex_;
  std::unordered_map<void*, SIZE_T> live_;
};

} // namespace

IMalloc& ShellAllocator() {
  // Ends with the process, taking its table along: a block never freed is
  // then unreachable, as a leak checker should see it.
  static Allocator allocator;
  return allocator;
}

HRESULT SHGetMalloc(LPMALLOC* allocator) {
  if (!allocator)
    return E_INVALIDARG;
  IMalloc& shared = ShellAllocator();
  shared.AddRef();
  *allocator = &shared;
  return S_OK;
}
