#include "runtime/find_text.h"

namespace {

unsigned char FoldAscii(unsigned char b) { return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 32) : b; }

} // namespace

bool MatchesAt(const char* at, const char* sought, int32_t n, bool ignoreCase) {
  auto* x = reinterpret_cast<const unsigned char*>(at);
  auto* y = reinterpret_cast<const unsigned char*>(sought);
  if (!ignoreCase) {
    for (int32_t i = 0; i < n; i++) {
      if (x[i] != y[i])
        return false;
    }
    return true;
  }
  for (int32_t i = 0; i < n; i++) {
    if (FoldAscii(x[i]) != FoldAscii(y[i]))
      return false;
  }
  return true;
}

int32_t FindText(TextRef text, TextRef sought, std::optional<int32_t> start, bool ignoreCase) {
  int32_t length = text.Length();
  int32_t sought_length = sought.Length();
  if (length == 0 || sought_length == 0 || sought_length > length)
    return -1;
  int32_t pos = (!start || *start <= 0) ? 1 : *start;
  int32_t last = length - sought_length + 1;
  const char* bytes = text.Bytes();
  const char* wanted = sought.Bytes();
  while (pos <= last) {
    if (MatchesAt(bytes + pos - 1, wanted, sought_length, ignoreCase))
      return pos;
    pos += CharacterStep(static_cast<unsigned char>(bytes[pos - 1]));
  }
  return -1;
}
