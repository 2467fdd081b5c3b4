// Replacing the matches of a text inside a text.
#pragma once

#include "runtime/text_value.h"

#include <optional>

// Replaces up to `count` matches (every match when omitted) found from
// `start` (1 when omitted), non-overlapping, by `replacement` (nothing when
// omitted). An empty text gives null; no match, or a start or count outside
// the text, gives a copy. The result is built in one pass at its exact size.
TextValue ReplaceText(TextRef text, TextRef sought, std::optional<TextRef> replacement = std::nullopt,
                      std::optional<int32_t> start = std::nullopt, std::optional<int32_t> count = std::nullopt,
                      bool caseSensitive = true);
