#include "kernel32/composition.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

namespace {

// Most text is Latin, Chinese or Hangul; none of those ranges hold a mark.
bool IsCombiningMark(UChar32 c) {
  if (c < 0x300 || (c >= 0x3400 && c < 0xA000) || (c >= 0xAC00 && c < 0xD800))
    return false;
  return u_getCombiningClass(c) != 0;
}

struct CodePoint {
  UChar32 value;
  size_t end;
};

CodePoint NextAt(std::u16string_view text, size_t at) {
  const UChar* s = reinterpret_cast<const UChar*>(text.data());
  int32_t i = static_cast<int32_t>(at);
  UChar32 c;
  U16_NEXT(s, i, static_cast<int32_t>(text.size()), c);
  return {c, static_cast<size_t>(i)};
}

void AppendNormalized(std::u16string& out, std::u16string_view run) {
  UErrorCode error = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&error);
  std::u16string composed(run.size() * 3 + 4, u'\0');
  int32_t n = U_SUCCESS(error) ? unorm2_normalize(nfc, reinterpret_cast<const UChar*>(run.data()),
                                                  static_cast<int32_t>(run.size()),
                                                  reinterpret_cast<UChar*>(composed.data()),
                                                  static_cast<int32_t>(composed.size()), &error)
                               : 0;
  if (U_SUCCESS(error))
    out.append(composed.data(), static_cast<size_t>(n));
  else
    out.append(run);
}

} // namespace

bool HasCombiningMarks(std::u16string_view text) {
  for (size_t at = 0; at < text.size();) {
    CodePoint c = NextAt(text, at);
    if (IsCombiningMark(c.value))
      return true;
    at = c.end;
  }
  return false;
}

std::u16string ComposeMarks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    CodePoint base = NextAt(text, at);
    size_t run_end = base.end;
    while (run_end < text.size()) {
      CodePoint next = NextAt(text, run_end);
      if (!IsCombiningMark(next.value))
        break;
      run_end = next.end;
    }
    if (run_end == base.end || IsCombiningMark(base.value))
      out.append(text.substr(at, run_end - at));
    else
      AppendNormalized(out, text.substr(at, run_end - at));
    at = run_end;
  }
  return out;
}
