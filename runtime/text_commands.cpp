#include "runtime/text_commands.h"

#include "runtime/find_text.h"

#include <cstring>

namespace {

bool IsSpaceAt(const unsigned char* at) { return at[0] == ' '; }
bool IsFullWidthSpaceAt(const unsigned char* at) { return at[0] == 0xA1 && at[1] == 0xA1; }

} // namespace

TextValue LeftText(TextRef text, int32_t n) {
  int32_t length = text.Length();
  if (length == 0 || n <= 0)
    return {};
  return TextValue::Copy(text.Bytes(), static_cast<size_t>(n < length ? n : length));
}

TextValue RightText(TextRef text, int32_t n) {
  int32_t length = text.Length();
  if (length == 0 || n <= 0)
    return {};
  int32_t take = n < length ? n : length;
  return TextValue::Copy(text.Bytes() + (length - take), static_cast<size_t>(take));
}

TextValue CopyText(TextRef text) { return TextValue::Copy(text); }

TextValue SpaceText(int32_t n) {
  if (n < 1)
    return {};
  TextValue spaces = TextValue::Allocate(static_cast<size_t>(n));
  std::memset(spaces.MutableBytes(), ' ', static_cast<size_t>(n));
  return spaces;
}

TextValue UpperText(TextRef text) {
  TextValue upper = TextValue::Copy(text);
  char* bytes = upper.MutableBytes();
  for (int32_t i = 0, n = upper.Length(); i < n;) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b >= 'a' && b <= 'z')
      bytes[i] = static_cast<char>(b - 32);
    i += CharacterStep(b);
  }
  return upper;
}

TextValue TrimText(TextRef text) {
  auto* bytes = reinterpret_cast<const unsigned char*>(text.Bytes());
  int32_t begin = 0;
  int32_t end = text.Length();
  while (begin < end) {
    if (IsSpaceAt(bytes + begin))
      begin += 1;
    else if (end - begin >= 2 && IsFullWidthSpaceAt(bytes + begin))
      begin += 2;
    else
      break;
  }
  while (end > begin) {
    if (bytes[end - 1] == ' ')
      end -= 1;
    else if (end - begin >= 2 && IsFullWidthSpaceAt(bytes + end - 2))
      end -= 2;
    else
      break;
  }
  return TextValue::Copy(text.Bytes() + begin, static_cast<size_t>(end - begin));
}

TextValue RemoveAllSpaces(TextRef text) {
  int32_t length = text.Length();
  if (length == 0)
    return {};
  auto* bytes = reinterpret_cast<const unsigned char*>(text.Bytes());
  TextValue kept = TextValue::Allocate(static_cast<size_t>(length));
  char* out = kept.MutableBytes();
  int32_t n = 0;
  for (int32_t i = 0; i < length;) {
    if (IsSpaceAt(bytes + i)) {
      i += 1;
      continue;
    }
    if (i + 1 < length && IsFullWidthSpaceAt(bytes + i)) {
      i += 2;
      continue;
    }
    int32_t step = (bytes[i] >= 0x80 && i + 1 < length) ? 2 : 1;
    std::memcpy(out + n, bytes + i, static_cast<size_t>(step));
    n += step;
    i += step;
  }
  return TextValue::Copy(kept.Bytes(), static_cast<size_t>(n));
}
