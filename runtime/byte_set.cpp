#include "runtime/byte_set.h"

#include "runtime/block.h"

#include <cstring>

namespace {
alignas(8) const int32_t static_empty_byte_set[2] = {1, 0};
}

const void* StaticEmptyByteSet() { return static_empty_byte_set; }

int32_t ByteRef::Length() const {
  if (!block_)
    return 0;
  int32_t length;
  std::memcpy(&length, block_ + 4, sizeof length);
  return length;
}

ByteSet ByteSet::Zeroed(size_t n) {
  if (n == 0)
    return {};
  auto* block = static_cast<uint8_t*>(AllocBlock(8 + n));
  int32_t header[2] = {1, static_cast<int32_t>(n)};
  std::memcpy(block, header, sizeof header);
  return ByteSet(block);
}

ByteSet ByteSet::Copy(const void* bytes, size_t n) {
  ByteSet set = Zeroed(n);
  if (n)
    std::memcpy(set.MutableData(), bytes, n);
  return set;
}

ByteSet::ByteSet(const ByteSet& other) : block_(static_cast<uint8_t*>(Copy(other.Ref()).Release())) {}

ByteSet& ByteSet::operator=(const ByteSet& other) {
  if (this != &other)
    *this = Copy(other.Data(), static_cast<size_t>(other.Length()));
  return *this;
}

ByteSet& ByteSet::operator=(ByteSet&& other) noexcept {
  if (this != &other) {
    FreeBlock(block_);
    block_ = static_cast<uint8_t*>(other.Release());
  }
  return *this;
}

ByteSet::~ByteSet() { FreeBlock(block_); }

void* ByteSet::Release() {
  uint8_t* block = block_;
  block_ = nullptr;
  return block;
}
