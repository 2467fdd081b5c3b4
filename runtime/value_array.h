// ValueArray: an owned block of a dimension count, one 32-bit size per
// dimension and the packed elements, numbered from 1.
//
// Text and byte-set elements belong to the array and are released with it.
// A new or cleared array is the static empty array (one dimension of size
// 0), which is never written: the array is made owned before it changes.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"
#include "runtime/type_code.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

// The static empty array: the two words 1 and 0.
const void* StaticEmptyArray();
// Product of the dimension sizes; 0 for null.
int32_t ArrayCount(const void* block);
// Ends the program with run-time error 4 (below 1) or 1 (above the count).
void CheckArrayIndex(int32_t index, int32_t count);
// Replaces a static array in the variable with an owned copy of it.
void EnsureOwnedArray(size_t elementWidth, void*& block);
// Element storage of a block, after its header.
uint8_t* ArrayElements(const void* block);
// Makes the array one-dimensional with `count` elements, keeping the first
// elements; grown blocks keep spare room so that appending one element at a
// time stays linear. Ends the program with run-time error 10 for a negative
// count.
void ResizeArray(size_t elementWidth, void*& block, int32_t count);

// How each element kind is stored in the block. Texts and byte sets are
// stored as their pointers: 8 bytes on this 64-bit build.
template <class E> struct ArrayElement {
  using Stored = E;
  using View = E;
  static constexpr bool kOwned = false;
  static View ToView(Stored v) { return v; }
  static Stored Take(E&& v) { return v; }
  static void Release(Stored) {}
};

template <> struct ArrayElement<TextValue> {
  using Stored = char*;
  using View = TextRef;
  static constexpr bool kOwned = true;
  static View ToView(Stored v) { return TextRef(v); }
  static Stored Take(TextValue&& v) { return v.Release(); }
  static void Release(Stored v);
};

template <> struct ArrayElement<ByteSet> {
  using Stored = void*;
  using View = ByteRef;
  static constexpr bool kOwned = true;
  static View ToView(Stored v) { return ByteRef(v); }
  static Stored Take(ByteSet&& v) { return v.Release(); }
  static void Release(Stored v);
};

template <class E> class ValueArray {
  using Element = ArrayElement<E>;
  using Stored = typename Element::Stored;
  static constexpr size_t kWidth = sizeof(Stored);

public:
  using View = typename Element::View;

  ValueArray() = default;
  // An owned one-dimensional array of n zero elements.
  static ValueArray WithCount(int32_t n) {
    ValueArray array;
    ResizeArray(kWidth, array.block_, n);
    return array;
  }

  ValueArray(const ValueArray& other) { CopyFrom(other); }
  ValueArray(ValueArray&& other) noexcept : block_(std::exchange(other.block_, const_cast<void*>(StaticEmptyArray()))) {}
  ValueArray& operator=(const ValueArray& other) {
    if (this != &other) {
      Clear();
      CopyFrom(other);
    }
    return *this;
  }
  ValueArray& operator=(ValueArray&& other) noexcept {
    if (this != &other) {
      Clear();
      block_ = std::exchange(other.block_, const_cast<void*>(StaticEmptyArray()));
    }
    return *this;
  }
  ~ValueArray() { Clear(); }

  int32_t Count() const { return ArrayCount(block_); }
  const void* Block() const { return block_; }

  View At(int32_t index) const {
    CheckArrayIndex(index, Count());
    return Element::ToView(Load(index));
  }

  void Set(int32_t index, E value) {
    CheckArrayIndex(index, Count());
    EnsureOwnedArray(kWidth, block_);
    Element::Release(Load(index));
    Store(index, Element::Take(std::move(value)));
  }

  void Append(E value) {
    int32_t count = Count();
    ResizeArray(kWidth, block_, count + 1);
    Store(count + 1, Element::Take(std::move(value)));
  }

  // Removes element i; the later elements move up one place.
  void RemoveAt(int32_t index) {
    int32_t count = Count();
    CheckArrayIndex(index, count);
    EnsureOwnedArray(kWidth, block_);
    Element::Release(Load(index));
    uint8_t* elements = ArrayElements(block_);
    std::memmove(elements + (index - 1) * kWidth, elements + index * kWidth, (count - index) * kWidth);
    ResizeArray(kWidth, block_, count - 1);
  }

  // Releases every element and the block; the array is empty again.
  void Clear();

private:
  Stored Load(int32_t index) const {
    Stored v;
    std::memcpy(&v, ArrayElements(block_) + (index - 1) * kWidth, kWidth);
    return v;
  }
  void Store(int32_t index, Stored v) { std::memcpy(ArrayElements(block_) + (index - 1) * kWidth, &v, kWidth); }
  void CopyFrom(const ValueArray& other) {
    int32_t count = other.Count();
    if (count == 0)
      return;
    ResizeArray(kWidth, block_, count);
    for (int32_t i = 1; i <= count; i++) {
      if constexpr (Element::kOwned)
        Store(i, Element::Take(E::Copy(Element::ToView(other.Load(i)))));
      else
        Store(i, other.Load(i));
    }
  }

  void* block_ = const_cast<void*>(StaticEmptyArray());
};

void ReleaseArrayBlock(void*& block);

template <class E> void ValueArray<E>::Clear() {
  if constexpr (Element::kOwned) {
    int32_t count = Count();
    for (int32_t i = 1; i <= count; i++)
      Element::Release(Load(i));
  }
  ReleaseArrayBlock(block_);
}

using TextArray = ValueArray<TextValue>;
