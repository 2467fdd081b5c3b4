// Formatting a text into a buffer, as wsprintfA does.
//
// Fields: %s (a code page 936 text, copied byte for byte; a null pointer
// prints "(null)"), %ls and %S (a UTF-16 text, converted to code page 936),
// %c (one byte), %d and %i (int), %u, %x and %X (unsigned int) and %%. A
// field may have the flags "-" (left-aligned), "0" (zero-padded) and "#" (0x
// before hexadecimal), a width and a precision (at most that many bytes of a
// text, at least that many digits of a number); "l" and "h" before a number
// change nothing, as int is 32 bits wide. An unknown field letter is copied
// as it is. The buffer takes at most 1024 bytes, the terminator included.
#pragma once

#include "win/types.h"

#include <cstdarg>

constexpr int kFormatBufferBytes = 1024;

// Returns the length written, without the terminator.
PLATFORM_API int wsprintfA(LPSTR buffer, LPCSTR format, ...);
PLATFORM_API int wvsprintfA(LPSTR buffer, LPCSTR format, va_list arguments);
