#include "runtime/replace_text.h"

#include "runtime/find_text.h"
#include "runtime/scratch_buffer.h"

#include <cstring>

TextValue ReplaceText(TextRef text, TextRef sought, std::optional<TextRef> replacement, std::optional<int32_t> start,
                      std::optional<int32_t> count, bool caseSensitive) {
  int32_t length = text.Length();
  if (length == 0)
    return {};
  int32_t sought_length = sought.Length();
  if (sought_length == 0 || sought_length > length)
    return TextValue::Copy(text);
  TextRef with = replacement.value_or(TextRef());
  int32_t from = start.value_or(1);
  int64_t limit = count ? *count : INT64_MAX;
  int32_t last = length - sought_length + 1;
  if (from < 1 || from > last || limit <= 0)
    return TextValue::Copy(text);

  const char* bytes = text.Bytes();
  ScratchBuffer matches(CoreScratchPool());
  int64_t found = 0;
  for (int32_t pos = from; pos <= last && found < limit;) {
    if (MatchesAt(bytes + pos - 1, sought.Bytes(), sought_length, !caseSensitive)) {
      int32_t at = pos - 1;
      matches.Append(&at, sizeof at);
      found++;
      pos += sought_length;
    } else {
      pos += CharacterStep(static_cast<unsigned char>(bytes[pos - 1]));
    }
  }
  if (found == 0)
    return TextValue::Copy(text);

  int32_t with_length = with.Length();
  size_t total = static_cast<size_t>(length + (with_length - sought_length) * found);
  if (total == 0)
    return {};
  TextValue result = TextValue::Allocate(total);
  char* out = result.MutableBytes();
  int32_t copied_to = 0;
  for (int64_t i = 0; i < found; i++) {
    int32_t at;
    std::memcpy(&at, matches.Data() + i * sizeof at, sizeof at);
    std::memcpy(out, bytes + copied_to, static_cast<size_t>(at - copied_to));
    out += at - copied_to;
    std::memcpy(out, with.Bytes(), static_cast<size_t>(with_length));
    out += with_length;
    copied_to = at + sought_length;
  }
  std::memcpy(out, bytes + copied_to, static_cast<size_t>(length - copied_to));
  return result;
}
