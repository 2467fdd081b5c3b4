#include "kernel32/wildcard.h"

namespace {

char16_t Fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

} // namespace

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
  size_t p = 0;
  size_t n = 0;
  // Where the last "*" was, and the name position it now stands for.
  size_t star = std::u16string_view::npos;
  size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || Fold(pattern[p]) == Fold(name[n]))) {
      p++;
      n++;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*')
    p++;
  return p == pattern.size();
}
