#include "engine/text_between.h"

#include "runtime/find_text.h"
#include "runtime/replace_text.h"
#include "runtime/text_commands.h"

namespace {

const char kQuoteToken[] = "#引号";

TextValue WithQuotes(TextRef marker) {
  if (FindText(marker, kQuoteToken) == -1)
    return TextValue::Copy(marker);
  return ReplaceText(marker, kQuoteToken, TextRef("\""), std::nullopt, std::nullopt, true);
}

} // namespace

TextValue TextBetween(TextRef text, TextRef startMarker, TextRef endMarker, std::optional<int32_t> start,
                      std::optional<bool> caseSensitive) {
  TextValue s = WithQuotes(startMarker);
  TextValue e = WithQuotes(endMarker);
  bool ignore_case = !caseSensitive.value_or(false);
  int32_t p1 = FindText(text, s, start, ignore_case);
  if (p1 == -1)
    return {};
  TextValue rest = RightText(text, text.Length() - p1 - s.Length() + 1);
  int32_t p2 = FindText(rest, e, start, ignore_case);
  if (p2 == -1)
    return {};
  return LeftText(rest, p2 - 1);
}
