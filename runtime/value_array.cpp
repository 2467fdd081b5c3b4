#include "runtime/value_array.h"

#include "runtime/block.h"
#include "runtime/runtime_frame.h"

namespace {

alignas(8) const int32_t static_empty_array[2] = {1, 0};

int32_t Dimensions(const void* block) {
  int32_t n;
  std::memcpy(&n, block, sizeof n);
  return n;
}

size_t HeaderSize(const void* block) { return 4 + 4 * static_cast<size_t>(Dimensions(block)); }

} // namespace

const void* StaticEmptyArray() { return static_empty_array; }

void ArrayElement<TextValue>::Release(char* v) { FreeBlock(v); }
void ArrayElement<ByteSet>::Release(void* v) { FreeBlock(v); }

int32_t ArrayCount(const void* block) {
  if (!block)
    return 0;
  int32_t dims = Dimensions(block);
  int64_t count = 1;
  for (int32_t d = 0; d < dims; d++) {
    int32_t size;
    std::memcpy(&size, static_cast<const uint8_t*>(block) + 4 + 4 * d, sizeof size);
    count *= size;
  }
  return static_cast<int32_t>(count);
}

void CheckArrayIndex(int32_t index, int32_t count) {
  if (index < 1)
    FatalError(4);
  if (index > count)
    FatalError(1);
}

uint8_t* ArrayElements(const void* block) {
  return static_cast<uint8_t*>(const_cast<void*>(block)) + HeaderSize(block);
}

void EnsureOwnedArray(size_t elementWidth, void*& block) {
  if (!block)
    block = const_cast<void*>(StaticEmptyArray());
  if (!IsStaticValue(block))
    return;
  size_t size = HeaderSize(block) + elementWidth * static_cast<size_t>(ArrayCount(block));
  void* owned = AllocBlock(size);
  std::memcpy(owned, block, size);
  block = owned;
}

void ResizeArray(size_t elementWidth, void*& block, int32_t count) {
  if (count < 0)
    FatalError(10);
  EnsureOwnedArray(elementWidth, block);
  int32_t old_count = ArrayCount(block);
  size_t old_header = HeaderSize(block);
  // A one-dimensional header is 8 bytes; a longer one shrinks to it and the
  // elements move down.
  if (old_header != 8) {
    uint8_t* bytes = static_cast<uint8_t*>(block);
    std::memmove(bytes + 8, bytes + old_header, elementWidth * static_cast<size_t>(old_count));
  }
  size_t needed = 8 + elementWidth * static_cast<size_t>(count);
  if (BlockCapacity(block) < needed)
    block = ResizeBlock(block, needed + needed / 2);
  if (count > old_count)
    std::memset(static_cast<uint8_t*>(block) + 8 + elementWidth * old_count, 0,
                elementWidth * static_cast<size_t>(count - old_count));
  int32_t header[2] = {1, count};
  std::memcpy(block, header, sizeof header);
}

void ReleaseArrayBlock(void*& block) {
  FreeBlock(block);
  block = const_cast<void*>(StaticEmptyArray());
}
