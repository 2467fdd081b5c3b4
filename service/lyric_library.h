// The lyric files the service answers from: every .lrc file found below one folder when the
// library is read, each named in links by a number of its own.
//
// Invariant: every entry's file lies inside the library folder (a symbolic link that leads out of
// it is never taken), and an entry keeps its number for the life of the library.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lyric_service {

struct LyricEntry {
  unsigned id = 0;                // 1, 2, ... in byte order of `relative`
  std::string title;              // the file name without ".lrc", bytes as stored
  std::filesystem::path relative; // below the library folder, as listed
  std::filesystem::path file;     // the canonical path of the bytes to serve
};

struct LibraryRead;

class LyricLibrary {
public:
  // Walks `folder` and every real folder below it. Symbolic links to folders are not entered;
  // a symbolic link to a file counts only when its target lies inside `folder`.
  static LibraryRead Read(const std::filesystem::path& folder);

  const std::vector<LyricEntry>& Entries() const { return entries_; }
  const LyricEntry* Find(unsigned id) const;

  // The entries whose title contains `key` or is contained in it, ASCII letters compared without
  // case and every other byte exactly: titles equal to the key first, then in byte order of
  // title. An empty key finds nothing.
  std::vector<const LyricEntry*> Search(std::string_view key) const;

private:
  explicit LyricLibrary(std::vector<LyricEntry> entries) : entries_(std::move(entries)) {}

  std::vector<LyricEntry> entries_; // entries_[i].id == i + 1
};

struct LibraryRead {
  std::optional<LyricLibrary> library;
  std::string error; // why there is no library
};

} // namespace lyric_service
