// Bitwise commands on 32-bit integers.
#pragma once

#include <cstdint>
#include <initializer_list>

inline int32_t BitOr(std::initializer_list<int32_t> values) {
  uint32_t r = 0;
  for (int32_t v : values)
    r |= static_cast<uint32_t>(v);
  return static_cast<int32_t>(r);
}

inline int32_t BitAnd(std::initializer_list<int32_t> values) {
  uint32_t r = 0xFFFFFFFFu;
  for (int32_t v : values)
    r &= static_cast<uint32_t>(v);
  return static_cast<int32_t>(r);
}

// Arithmetic (sign-filling) shift by count modulo 32.
inline int32_t ShiftRight(int32_t value, int32_t count) { return value >> (((count % 32) + 32) % 32); }
