// ASCII case rules of HTTP: header names, methods, schemes and host names
// compare without regard to ASCII case, and only ASCII letters fold.
#pragma once

#include <algorithm>
#include <string_view>

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool SameAsciiText(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}
