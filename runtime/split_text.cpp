#include "runtime/split_text.h"

#include "runtime/scratch_buffer.h"

#include <cstring>

namespace {

// Pieces are always allocated, the empty ones included.
char* NewPiece(const char* bytes, size_t n) {
  TextValue piece = TextValue::Allocate(n);
  std::memcpy(piece.MutableBytes(), bytes, n);
  return piece.Release();
}

} // namespace

TextArray SplitText(TextRef text, std::optional<TextRef> separator, std::optional<int32_t> maximum) {
  TextRef sep = separator.value_or(TextRef(","));
  int64_t limit = maximum ? (*maximum < 0 ? 0 : *maximum) : INT64_MAX;
  int32_t length = text.Length();
  if (length == 0 || limit == 0)
    return {};
  const char* bytes = text.Bytes();
  if (sep.IsEmpty()) {
    TextArray one = TextArray::WithCount(1);
    one.Set(1, TextValue::Adopt(NewPiece(bytes, static_cast<size_t>(length))));
    return one;
  }

  int32_t sep_length = sep.Length();
  ScratchBuffer pieces(CoreScratchPool());
  int64_t count = 0;
  int32_t piece_start = 0;
  int32_t pos = 0;
  while (length - pos >= sep_length && count < limit) {
    if (std::memcmp(bytes + pos, sep.Bytes(), static_cast<size_t>(sep_length)) == 0) {
      pieces.AppendPointer(NewPiece(bytes + piece_start, static_cast<size_t>(pos - piece_start)));
      count++;
      pos += sep_length;
      piece_start = pos;
      continue;
    }
    if (static_cast<unsigned char>(bytes[pos]) >= 0x80) {
      if (pos + 1 >= length)
        break; // a lone lead byte ends the text
      pos += 2;
    } else {
      pos += 1;
    }
  }
  if (count < limit && piece_start < length) {
    pieces.AppendPointer(NewPiece(bytes + piece_start, static_cast<size_t>(length - piece_start)));
    count++;
  }

  TextArray result = TextArray::WithCount(static_cast<int32_t>(count));
  for (int64_t i = 0; i < count; i++) {
    char* piece;
    std::memcpy(&piece, pieces.Data() + i * sizeof piece, sizeof piece);
    result.Set(static_cast<int32_t>(i + 1), TextValue::Adopt(piece));
  }
  return result;
}
