// The three ways the system touches the file system: listing a folder's
// entries that match a wildcard, writing a file in one go, and (in
// run_directory.h) the folder of the program itself. Paths are code page 936
// texts.
#pragma once

#include "runtime/byte_set.h"
#include "runtime/text_value.h"
#include "win/types.h"

#include <cstdint>
#include <initializer_list>
#include <optional>

// One listing in progress: 0 or INVALID_HANDLE_VALUE when none is open. It
// belongs to the subroutine that lists, which closes it before it returns.
struct FindState {
  HANDLE handle = nullptr;
};

// The name of the next matching entry, or null when there is none. A
// non-empty pattern (a folder followed by a wildcard name) starts a new
// listing; an empty one continues the listing in the state. Without a mask
// every entry that is not a directory matches; with one, every entry having
// one of its attribute bits.
TextValue FindFile(TextRef pattern, std::optional<uint32_t> attributeMask, FindState& state);
void CloseFind(FindState& state);

// Creates the file, or empties an existing one, and writes the byte sets one
// after another. True when the file was opened and every byte written.
bool WriteToFile(TextRef path, std::initializer_list<ByteRef> parts);
