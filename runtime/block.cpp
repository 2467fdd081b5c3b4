#include "runtime/block.h"

#include "kernel32/heap.h"
#include "runtime/runtime_frame.h"
#include "user32/message_box.h"

#include <atomic>
#include <cstdint>

namespace {

std::atomic<HANDLE> process_heap{nullptr};

HANDLE Heap() {
  HANDLE heap = process_heap.load(std::memory_order_acquire);
  if (!heap) {
    heap = GetProcessHeap();
    process_heap.store(heap, std::memory_order_release);
  }
  return heap;
}

[[noreturn]] void OutOfMemory() {
  MessageBoxA(nullptr, "内存不足", "error", MB_ICONERROR);
  ExitProgram(0);
}

} // namespace

void TakeProcessHeap() { process_heap.store(GetProcessHeap(), std::memory_order_release); }

void* AllocBlock(size_t size) {
  void* block = HeapAlloc(Heap(), HEAP_ZERO_MEMORY, size);
  if (!block)
    OutOfMemory();
  return block;
}

void* ResizeBlock(void* block, size_t size) {
  if (!block)
    return AllocBlock(size);
  void* moved = HeapReAlloc(Heap(), 0, block, size);
  if (!moved)
    OutOfMemory();
  return moved;
}

bool IsStaticValue(const void* address) { return PlatformAddressInProgramImage(address) != FALSE; }

void FreeBlock(const void* block) {
  if (reinterpret_cast<uintptr_t>(block) < 65536 || IsStaticValue(block))
    return;
  HeapFree(Heap(), 0, const_cast<void*>(block));
}

size_t BlockCapacity(const void* block) {
  if (!block || IsStaticValue(block))
    return 0;
  return HeapSize(Heap(), 0, block);
}
