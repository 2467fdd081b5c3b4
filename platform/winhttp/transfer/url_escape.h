// Percent-encoding of the bytes that cannot appear raw in a request line.
#pragma once

#include <string>
#include <string_view>

// Encodes blanks, control bytes and DEL as %XX (upper-case hex) and, when
// `highBytes` is set, every byte of 0x80 or more; every other byte, "%"
// included, stays as given (so "%41" stays "%41").
std::string PercentEncodeUnsafe(std::string_view text, bool highBytes);
