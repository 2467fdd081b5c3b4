// Cutting the text between two markers out of a text.
#pragma once

#include "runtime/text_value.h"

#include <optional>

// The text between the first start marker and the first end marker after it,
// or the empty text (a missing marker and an empty stretch look the same).
// Inside either marker "#引号" stands for a double quote. The searches begin
// at `start` (1 when omitted, 0 or less) and ignore ASCII case unless
// `caseSensitive` is given true.
TextValue TextBetween(TextRef text, TextRef startMarker, TextRef endMarker,
                      std::optional<int32_t> start = std::nullopt, std::optional<bool> caseSensitive = std::nullopt);
