// ScratchBuffer: a growable byte buffer for the temporary lists inside one
// command call, drawing small sizes from a fixed pool of 512-byte slots.
//
// A pool is one static block: a 32-bit count of slots in use, one in-use
// flag byte per slot, then the slots. Pools take no lock: each is used by one
// thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>

class ScratchPool {
public:
  static constexpr size_t kSlotSize = 512;

  ScratchPool(uint8_t* block, uint8_t* firstSlot, int32_t slots, bool enabled)
      : block_(block), first_slot_(firstSlot), slots_(slots), enabled_(enabled) {}
  bool Enabled() const { return enabled_; }
  int32_t SlotsInUse() const;
  // The first free slot, or null.
  uint8_t* TakeSlot();
  void FreeSlot(uint8_t* slot);
  bool Owns(const uint8_t* p) const;

private:
  uint8_t* Flags() const { return block_ + 4; }
  uint8_t* Slot(int32_t i) const { return first_slot_ + static_cast<size_t>(i) * kSlotSize; }

  uint8_t* block_;
  uint8_t* first_slot_;
  int32_t slots_;
  bool enabled_;
};

// The core runtime's pool (96 slots), the dialog and shell component's (48)
// and the Internet component's (96).
ScratchPool& CoreScratchPool();
ScratchPool& DialogScratchPool();
ScratchPool& InternetScratchPool();

class ScratchBuffer {
public:
  explicit ScratchBuffer(ScratchPool& pool) : pool_(&pool) {}
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;
  ~ScratchBuffer() { Release(); }

  // Sets the used size, growing or shrinking the block by the pool rules;
  // 0 releases the buffer.
  void Resize(size_t n);
  void Append(const void* bytes, size_t n);
  void AppendPointer(const void* p) { Append(&p, sizeof p); }
  void Release();

  uint8_t* Data() const { return data_; }
  size_t Size() const { return used_; }
  size_t Capacity() const { return capacity_; }
  bool InPoolSlot() const { return in_slot_; }

private:
  void MoveToHeap(size_t n);

  ScratchPool* pool_;
  uint8_t* data_ = nullptr;
  size_t capacity_ = 0;
  size_t used_ = 0;
  bool in_slot_ = false;
};
