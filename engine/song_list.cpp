#include "engine/song_list.h"

#include "runtime/files.h"

TextArray SongList;
TextValue SongFolder;

void ScanSongs(TextRef folder, TextRef pattern) {
  SongList.Clear();
  TextValue search = ConcatTexts({folder, pattern});
  FindState state;
  for (TextValue name = FindFile(search, std::nullopt, state); !name.IsEmpty();
       name = FindFile(TextRef(), std::nullopt, state))
    SongList.Append(std::move(name));
  CloseFind(state);
}
