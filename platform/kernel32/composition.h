// Composing a base character with the combining marks after it, as the
// WC_COMPOSITECHECK flag asks (internal to libkernel32).
//
// Only a base followed by marks (canonical combining class other than 0) is
// composed, through Unicode NFC; every other character stays as it is, so a
// lone compatibility character such as the ohm sign is not replaced.
#pragma once

#include <string>
#include <string_view>

// Whether any combining mark occurs, so that composing could change the text.
bool HasCombiningMarks(std::u16string_view text);

// The text with each base and mark run composed where Unicode composes it;
// marks that do not compose stay after their base.
std::u16string ComposeMarks(std::u16string_view text);
