// The HTTP file reader: the whole body of one URL by a plain HTTP/1.0 GET
// through the Internet client library. The response status is never looked
// at: whatever body the server sends is the result, and every failure gives
// the bytes collected so far (nothing unless the body broke off).
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"

ByteSet HttpFileReader(TextRef url);
