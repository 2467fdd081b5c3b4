// Walking code page 936 text by characters (internal to libuser32): a lead
// byte 0x81..0xFE followed by a trail byte 0x40..0xFE (not 0x7F) is one
// two-byte character; every other byte is a character of its own. Since a
// trail byte can look like a lead byte, boundaries are found from the start.
#pragma once

#include <cstddef>
#include <string_view>

namespace user32 {

constexpr bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
constexpr bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

inline size_t CharLength(std::string_view text, size_t at) {
  if (at + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[at])) &&
      IsTrailByte(static_cast<unsigned char>(text[at + 1])))
    return 2;
  return 1;
}

// The character boundary at or before `at`.
inline size_t SnapToBoundary(std::string_view text, size_t at) {
  if (at >= text.size())
    return text.size();
  size_t i = 0;
  while (i < text.size()) {
    size_t next = i + CharLength(text, i);
    if (next > at)
      return i;
    i = next;
  }
  return text.size();
}

inline size_t NextBoundary(std::string_view text, size_t at) {
  return at >= text.size() ? text.size() : at + CharLength(text, at);
}

inline size_t PreviousBoundary(std::string_view text, size_t at) {
  if (at == 0)
    return 0;
  return SnapToBoundary(text, at - 1);
}

} // namespace user32
