// Splitting a text into pieces at a separator.
#pragma once

#include "runtime/text_value.h"
#include "runtime/value_array.h"

#include <optional>

// The pieces before, between and after the separator's occurrences (","
// when omitted), at most `maximum` of them (unlimited when omitted; a
// negative maximum counts as 0). A piece between two adjacent occurrences or
// before one at the start is an allocated ""; the rest after the last
// occurrence is a piece only when it is not empty. An empty text gives no
// piece; an empty separator gives the whole text as one piece.
TextArray SplitText(TextRef text, std::optional<TextRef> separator = std::nullopt,
                    std::optional<int32_t> maximum = std::nullopt);
