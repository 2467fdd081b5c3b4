// Commands on byte sets.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/command_arg.h"
#include "runtime/text_value.h"

int32_t ByteSetLength(ByteRef bytes);
// n zero bytes; null when n is 0 or less.
ByteSet BlankByteSet(int32_t n);

// One value read out of a byte set. For a text, `value` points at `text`.
struct ReadValue {
  CommandArg value;
  TextValue text;
};

// Reads one value of the kind with the given index (1 byte, 2 short, 3
// integer, 4 long, 5 float, 6 double, 7 logical, 8 date-time, 9 subroutine
// pointer, 10 text) at a 1-based position (1 when omitted). The position is
// an integer, or an integer variable that is advanced past the value (-1
// once nothing is left). Any other kind index ends the program with run-time
// error 100.
ReadValue ReadByteSetValue(ByteRef bytes, int32_t kindIndex, CommandArg position = CommandArg::Omitted());
