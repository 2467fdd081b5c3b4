// Inside winhttp: the conversions between the object's UTF-16 strings and
// the bytes on the wire.
#pragma once

#include "oleaut32/bstr.h"

#include <string>
#include <string_view>

// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// Wire bytes as text: UTF-8 when they are valid UTF-8, else one character
// per byte (ISO 8859-1), so that no byte is lost.
std::u16string TextFromWireBytes(std::string_view bytes);

std::u16string_view ViewOf(BSTR text);
// A new BSTR, or null when out of memory.
BSTR AllocBstr(std::u16string_view text);
