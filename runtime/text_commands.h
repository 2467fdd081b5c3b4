// The small text commands: cutting, copying, trimming and case.
//
// Every command returns a new text and leaves its input unchanged; an empty
// result is null. A blank is the space 0x20 or the full-width space "　"
// (the two bytes 0xA1 0xA1).
#pragma once

#include "runtime/text_value.h"

// The first or last n bytes; the whole text when n reaches its length; null
// when the text is empty or n is 0 or less.
TextValue LeftText(TextRef text, int32_t n);
TextValue RightText(TextRef text, int32_t n);
TextValue CopyText(TextRef text);
// n spaces; null when n is below 1.
TextValue SpaceText(int32_t n);
// a to z become A to Z; two-byte characters stay as they are.
TextValue UpperText(TextRef text);
// Without leading and trailing blanks.
TextValue TrimText(TextRef text);
// Without any blank.
TextValue RemoveAllSpaces(TextRef text);
