// Finding a text inside a text. Positions are 1-based byte positions; a scan
// steps over a two-byte character (lead byte 0x80 or more) as a whole, so a
// match never begins on the second byte of a character. Case folding covers
// the ASCII letters only.
#pragma once

#include "runtime/text_value.h"

#include <optional>

// Bytes of a character whose first byte is b: 2 for a lead byte.
inline int32_t CharacterStep(unsigned char b) { return b >= 0x80 ? 2 : 1; }

// Whether the bytes at `at` begin with `sought` (which is not empty).
bool MatchesAt(const char* at, const char* sought, int32_t soughtLength, bool ignoreCase);

// The position of the first match at or after `start` (1 when omitted or 0 or
// less), or -1.
int32_t FindText(TextRef text, TextRef sought, std::optional<int32_t> start = std::nullopt, bool ignoreCase = false);
