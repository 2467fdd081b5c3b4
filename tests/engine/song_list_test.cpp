#include "engine/song_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("cantiva-scan-" + std::to_string(::getpid()) + "-" + std::to_string(next_++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  void File(const fs::path& name) { std::ofstream(path_ / name) << "placeholder"; }
  void Folder(const fs::path& name) { fs::create_directories(path_ / name); }
  // The folder as the system sees it: an ASCII path is the same in code page 936.
  std::string Text() const { return path_.string(); }

private:
  fs::path path_;
  static inline int next_ = 0;
};

std::vector<std::string> Listed() {
  std::vector<std::string> names;
  for (int32_t i = 1; i <= SongList.Count(); i++)
    names.emplace_back(SongList.At(i).Bytes());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ScanSongs, ListsMp3FilesOfAnyCaseHiddenAndReadOnlyButNoFolders) {
  TempFolder folder;
  folder.File("a.mp3");
  folder.File("B.MP3");
  folder.File(".hidden.mp3");
  folder.File("readonly.mp3");
  fs::permissions(folder.Text() + "/readonly.mp3", fs::perms::owner_read);
  folder.File("x.mp3x");
  folder.File("notes.txt");
  folder.Folder("d.mp3");
  folder.File(fs::path(u8"中文 歌.mp3"));
  folder.File(fs::path(u8"a b.c.mp3"));
  ScanSongs(folder.Text().c_str(), "\\*.mp3");
  std::vector<std::string> expected = {".hidden.mp3", "B.MP3", "a b.c.mp3", "a.mp3", "readonly.mp3", "中文 歌.mp3"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Listed(), expected);
}

TEST(ScanSongs, ASecondScanHoldsOnlyTheSecondFoldersNames) {
  TempFolder first, second;
  first.File("one.mp3");
  first.File("two.mp3");
  second.File("three.mp3");
  ScanSongs(first.Text().c_str(), "\\*.mp3");
  ASSERT_EQ(SongList.Count(), 2);
  ScanSongs(second.Text().c_str(), "\\*.mp3");
  EXPECT_EQ(Listed(), std::vector<std::string>{"three.mp3"});
}

TEST(ScanSongs, EmptyMissingAndSongLessFoldersGiveAnEmptyList) {
  TempFolder empty, other;
  other.File("cover.jpg");
  for (std::string folder : {empty.Text(), other.Text(), empty.Text() + "/missing"}) {
    SongList.Append(TextValue::Copy("stale.mp3"));
    ScanSongs(folder.c_str(), "\\*.mp3");
    EXPECT_EQ(SongList.Count(), 0) << folder;
  }
}

TEST(ScanSongs, AFolderEndingInASeparatorIsPassedOnUnchanged) {
  TempFolder folder;
  folder.File("a.mp3");
  ScanSongs((folder.Text() + "\\").c_str(), "\\*.mp3");
  EXPECT_EQ(Listed(), std::vector<std::string>{"a.mp3"});
}

} // namespace
