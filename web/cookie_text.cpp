#include "web/cookie_text.h"

#include "runtime/find_text.h"
#include "runtime/split_text.h"
#include "runtime/text_commands.h"

namespace {

// Without blanks and with a ";" after the last item, unless empty.
TextValue Compact(TextRef text) {
  TextValue compact = RemoveAllSpaces(text);
  if (!compact.IsEmpty() && !TextEquals(RightText(compact, 1), ";"))
    compact = ConcatTexts({compact, ";"});
  return compact;
}

// Replaces each sent cookie's value by the first returned one of the same
// name with another value, and takes that one out of the returned list.
void ReplaceSentValues(TextArray& sent, TextArray& returned) {
  for (int32_t i = 1; i <= sent.Count(); i++) {
    TextValue name = CookieName(sent.At(i));
    TextValue value = CookieValue(sent.At(i));
    TextValue replacement;
    for (int32_t j = 1; j <= returned.Count(); j++) {
      if (TextEquals(name, CookieName(returned.At(j))) && !TextEquals(value, CookieValue(returned.At(j)))) {
        replacement = ConcatTexts({name, "=", CookieValue(returned.At(j))});
        returned.RemoveAt(j);
        break;
      }
    }
    if (!replacement.IsEmpty())
      sent.Set(i, std::move(replacement));
  }
}

void CollectKept(TextValue& collected, const TextArray& items) {
  for (int32_t i = 1; i <= items.Count(); i++) {
    if (!TextEquals(RightText(items.At(i), 8), "=deleted"))
      collected = ConcatTexts({collected, items.At(i), "; "});
  }
}

} // namespace

TextValue CookieName(TextRef item) {
  int32_t equals = FindText(item, "=");
  return equals == -1 ? TextValue() : LeftText(item, equals - 1);
}

TextValue CookieValue(TextRef item) {
  int32_t equals = FindText(item, "=");
  return equals == -1 ? TextValue() : RightText(item, item.Length() - equals);
}

TextValue UniqueItems(TextRef text, TextRef separator) {
  TextArray pieces = SplitText(text, separator);
  TextArray seen;
  TextValue result;
  for (int32_t i = 1; i <= pieces.Count(); i++) {
    bool already = false;
    for (int32_t j = 1; j <= seen.Count() && !already; j++)
      already = TextEquals(seen.At(j), pieces.At(i));
    if (already)
      continue;
    seen.Append(TextValue::Copy(pieces.At(i)));
    result = ConcatTexts({result, pieces.At(i), separator});
  }
  return result;
}

TextValue MergeCookies(TextValue& sent, TextValue& returned) {
  sent = Compact(sent);
  returned = Compact(returned);
  TextArray a = SplitText(sent, TextRef(";"));
  TextArray b = SplitText(returned, TextRef(";"));
  ReplaceSentValues(a, b);
  TextValue merged;
  CollectKept(merged, a);
  CollectKept(merged, b);
  sent = UniqueItems(merged, "; ");
  return sent;
}
