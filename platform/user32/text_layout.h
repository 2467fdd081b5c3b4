// Breaking text into lines (internal to libuser32).
//
// A line breaks after a run of blanks (the blanks stay behind, unseen) or
// between two two-byte characters; a word that does not fit on a line of
// its own is broken where it overflows, after at least one character.
#pragma once

#include "gdi32/painter.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace user32 {

using TextWidth = std::function<LONG(std::string_view)>;

std::vector<std::string_view> SplitLines(std::string_view text);
std::vector<std::string_view> WrapLine(std::string_view line, LONG maxWidth, const TextWidth& widthOf);
// "&x" shows as "x", "&&" as "&".
std::string StripPrefixes(std::string_view text);

} // namespace user32
