// UTF-8 to code page 936 conversion, always through UTF-16.
//
// The lyric service sends its pages and lyric files in UTF-8; every text
// inside the system, and every file it writes, is code page 936. Each step
// measures first and converts into a buffer of exactly the measured size.
// Nothing reports an error: what the platform makes of bad input comes back.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"

#include <cstdint>
#include <optional>

// UTF-16 little-endian units of UTF-8 bytes, without a terminating unit.
ByteSet Utf8BytesToUtf16(ByteRef bytes);
// Code page 936 text of UTF-16 units, composing a base letter with a
// following combining mark first; a zero unit ends the text.
TextValue Utf16ToCp936Text(ByteRef wide);
// UTF-16 units of a text in the code page (65001 when omitted), with the
// terminating zero unit.
ByteSet TextToUtf16(TextRef text, std::optional<uint32_t> codePage = std::nullopt);
// The text in the code page (the ANSI code page when omitted) of UTF-16 units
// that end in a zero unit.
TextValue Utf16ToText(ByteRef wide, std::optional<uint32_t> codePage = std::nullopt);

// A result page's UTF-8 body as a code page 936 text.
TextValue PageBytesToText(ByteRef bytes);
// A downloaded lyric, UTF-8 bytes already cut at the first zero byte, as a
// code page 936 text; each unit converts by itself.
TextValue LyricTextToCp936(TextRef text);
