#include "runtime/scratch_buffer.h"

#include "runtime/block.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeapSlack = 128;
constexpr size_t kShrinkKept = 256;

template <int N> struct PoolBlock {
  int32_t in_use;
  uint8_t flags[N];
  alignas(16) uint8_t slots[N][ScratchPool::kSlotSize];
};

// The three pools' static blocks.
PoolBlock<96> core_block;
PoolBlock<48> dialog_block;
PoolBlock<96> internet_block;

template <int N> ScratchPool MakePool(PoolBlock<N>& block) {
  return ScratchPool(reinterpret_cast<uint8_t*>(&block), &block.slots[0][0], N, true);
}

} // namespace

ScratchPool& CoreScratchPool() {
  static ScratchPool pool = MakePool(core_block);
  return pool;
}
ScratchPool& DialogScratchPool() {
  static ScratchPool pool = MakePool(dialog_block);
  return pool;
}
ScratchPool& InternetScratchPool() {
  static ScratchPool pool = MakePool(internet_block);
  return pool;
}

int32_t ScratchPool::SlotsInUse() const {
  int32_t n;
  std::memcpy(&n, block_, sizeof n);
  return n;
}

uint8_t* ScratchPool::TakeSlot() {
  for (int32_t i = 0; i < slots_; i++) {
    if (!Flags()[i]) {
      Flags()[i] = 1;
      int32_t n = SlotsInUse() + 1;
      std::memcpy(block_, &n, sizeof n);
      return Slot(i);
    }
  }
  return nullptr;
}

void ScratchPool::FreeSlot(uint8_t* slot) {
  auto i = static_cast<int32_t>((slot - Slot(0)) / static_cast<ptrdiff_t>(kSlotSize));
  if (i < 0 || i >= slots_ || !Flags()[i])
    return;
  Flags()[i] = 0;
  int32_t n = SlotsInUse() - 1;
  std::memcpy(block_, &n, sizeof n);
}

bool ScratchPool::Owns(const uint8_t* p) const { return p >= Slot(0) && p < Slot(slots_); }

void ScratchBuffer::Resize(size_t n) {
  if (n == 0) {
    Release();
    return;
  }
  if (!data_) {
    uint8_t* slot = (pool_->Enabled() && n <= ScratchPool::kSlotSize) ? pool_->TakeSlot() : nullptr;
    if (slot) {
      data_ = slot;
      capacity_ = ScratchPool::kSlotSize;
      in_slot_ = true;
    } else {
      data_ = static_cast<uint8_t*>(AllocBlock(n + kHeapSlack));
      capacity_ = n + kHeapSlack;
    }
    used_ = n;
    return;
  }
  bool fits = capacity_ >= n;
  if (fits && (in_slot_ || capacity_ - n <= kShrinkKept)) {
    used_ = n;
    return;
  }
  MoveToHeap(n);
}

void ScratchBuffer::MoveToHeap(size_t n) {
  if (in_slot_) {
    auto* block = static_cast<uint8_t*>(AllocBlock(n + kHeapSlack));
    std::memcpy(block, data_, std::min(used_, n));
    pool_->FreeSlot(data_);
    data_ = block;
    in_slot_ = false;
  } else {
    data_ = static_cast<uint8_t*>(ResizeBlock(data_, n + kHeapSlack));
  }
  capacity_ = n + kHeapSlack;
  used_ = n;
}

void ScratchBuffer::Append(const void* bytes, size_t n) {
  size_t at = used_;
  Resize(used_ + n);
  if (n)
    std::memcpy(data_ + at, bytes, n);
}

void ScratchBuffer::Release() {
  if (data_) {
    if (in_slot_)
      pool_->FreeSlot(data_);
    else
      FreeBlock(data_);
  }
  data_ = nullptr;
  capacity_ = used_ = 0;
  in_slot_ = false;
}
