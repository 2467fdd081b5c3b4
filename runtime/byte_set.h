// ByteSet: an owned block of a 32-bit 1, a 32-bit length and the bytes:
// the layout of a one-dimensional array of bytes.
//
// Null is the empty byte set. A byte set built by a command has a block of
// exactly 8 plus length bytes; one of length 0 is null.
#pragma once

#include <cstddef>
#include <cstdint>

// The program's one static empty byte set (the two words 1 and 0), passed
// where a byte set is required and there is none.
const void* StaticEmptyByteSet();

// A byte set argument that is only read: a block or null.
class ByteRef {
public:
  constexpr ByteRef() = default;
  explicit ByteRef(const void* block) : block_(static_cast<const uint8_t*>(block)) {}
  int32_t Length() const;
  const uint8_t* Data() const { return block_ ? block_ + 8 : nullptr; }
  bool IsEmpty() const { return Length() == 0; }
  const void* Block() const { return block_; }

private:
  const uint8_t* block_ = nullptr;
};

class ByteSet {
public:
  ByteSet() = default;
  // Null when n is 0.
  static ByteSet Copy(const void* bytes, size_t n);
  static ByteSet Copy(ByteRef bytes) { return Copy(bytes.Data(), static_cast<size_t>(bytes.Length())); }
  // n zero bytes; null when n is 0.
  static ByteSet Zeroed(size_t n);
  static ByteSet Adopt(void* block) { return ByteSet(static_cast<uint8_t*>(block)); }

  ByteSet(const ByteSet& other);
  ByteSet(ByteSet&& other) noexcept : block_(static_cast<uint8_t*>(other.Release())) {}
  ByteSet& operator=(const ByteSet& other);
  ByteSet& operator=(ByteSet&& other) noexcept;
  ~ByteSet();

  operator ByteRef() const { return ByteRef(block_); }
  ByteRef Ref() const { return ByteRef(block_); }
  int32_t Length() const { return Ref().Length(); }
  bool IsEmpty() const { return Length() == 0; }
  const uint8_t* Data() const { return Ref().Data(); }
  uint8_t* MutableData() { return block_ ? block_ + 8 : nullptr; }
  const void* Block() const { return block_; }
  void* Release();

private:
  explicit ByteSet(uint8_t* block) : block_(block) {}
  uint8_t* block_ = nullptr;
};
