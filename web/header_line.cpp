#include "web/header_line.h"

#include "runtime/find_text.h"
#include "runtime/text_commands.h"

TextValue HeaderName(TextRef line) {
  int32_t colon = FindText(line, ":");
  if (colon == -1)
    return {};
  return TrimText(LeftText(line, colon - 1));
}

TextValue HeaderValue(TextRef line) {
  int32_t colon = FindText(line, ":");
  if (colon == -1)
    return {};
  return TrimText(RightText(line, line.Length() - colon));
}
