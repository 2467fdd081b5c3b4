// Turning a value of any kind into a text or into bytes.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/command_arg.h"
#include "runtime/text_value.h"

// Integers in decimal; doubles and floats with six decimals, trailing zeros
// and a trailing point dropped ("3", "2.5", "0.333333"; "inf", "-inf", "nan");
// logicals "真" or "假"; date-times as DateTimeText; a text copied; a byte set
// or an array of integral elements up to its first zero byte. Any other kind
// gives null, and so does an empty result.
TextValue ToText(const CommandArg& value);
inline TextValue ToText(int32_t v) { return ToText(CommandArg::Integer(v)); }
inline TextValue ToText(double v) { return ToText(CommandArg::Double(v)); }

// The value's bytes, least significant first; a text without its NUL. Null
// for an empty result, for arrays of non-byte elements and library kinds.
ByteSet ToBytes(const CommandArg& value);

// "%lf" with the trailing zeros and point dropped.
TextValue DoubleText(double v);
