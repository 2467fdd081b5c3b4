// The song list: the bare file names of the songs of one batch, in the order
// the folder listing gives them.
#pragma once

#include "runtime/text_value.h"
#include "runtime/value_array.h"

extern TextArray SongList;
// The folder the user chose for the batch.
extern TextValue SongFolder;

// Empties SongList, then lists the folder's files that match the pattern
// (joined to the folder as they are, e.g. "\\*.mp3") into it. Directories
// are passed over; hidden and read-only files are listed.
void ScanSongs(TextRef folder, TextRef pattern);
