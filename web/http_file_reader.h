// The HTTP file reader: the whole body of one URL by a plain HTTP/1.0 GET
// through the Internet client library. The response status is never looked
// at: whatever body the server sends is the result, and every failure gives
// the bytes collected so far (nothing unless the body broke off).
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"

#include <cstddef>

ByteSet HttpFileReader(TextRef url);

// The size of each read: Content-Length plus 1 (so that a body of known
// size up to 100 KiB arrives in one read and the next read reports its end),
// at most 102400; 10240 without a usable length.
size_t ReadChunkSize(const char* contentLength);

// Tests watch the reads: the observer sees the size asked for by each read.
using ChunkObserver = void (*)(size_t chunk);
void SetChunkObserverForTesting(ChunkObserver observer);
