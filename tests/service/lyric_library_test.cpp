#include "service/lyric_library.h"

#include "service_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using lyric_service::LyricEntry;
using lyric_service::LyricLibrary;
using service_test::TempFolder;
namespace fs = std::filesystem;

std::vector<std::string> Titles(const std::vector<const LyricEntry*>& hits) {
  std::vector<std::string> titles;
  for (const LyricEntry* hit : hits)
    titles.push_back(hit->title);
  return titles;
}

std::set<std::string> Listed(const LyricLibrary& library) {
  std::set<std::string> listed;
  for (const LyricEntry& entry : library.Entries())
    listed.insert(entry.relative.string());
  return listed;
}

TEST(LyricLibrary, ListsLyricFilesInEveryRealSubfolder) {
  TempFolder folder;
  folder.Write("b.lrc", "b");
  folder.Write("A.LRC", "a");
  folder.Write("sub/deeper/c.lrc", "c");
  folder.Write("song.mp3", "placeholder");
  folder.Write(".lrc", "no name");
  folder.Write("notes.lrc.txt", "x");
  fs::create_directories(folder.Path() / "folder.lrc");
  auto read = LyricLibrary::Read(folder.Path());
  ASSERT_TRUE(read.library) << read.error;
  EXPECT_EQ(Listed(*read.library), (std::set<std::string>{"A.LRC", "b.lrc", "sub/deeper/c.lrc"}));
  const LyricEntry* c = read.library->Find(3);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->title, "c");
}

TEST(LyricLibrary, NumbersFollowPathOrderAndStayPut) {
  TempFolder folder;
  folder.Write("z.lrc", "z");
  folder.Write("a/y.lrc", "y");
  folder.Write("m.lrc", "m");
  auto read = LyricLibrary::Read(folder.Path());
  ASSERT_TRUE(read.library);
  const LyricLibrary& library = *read.library;
  ASSERT_EQ(library.Entries().size(), 3u);
  for (const LyricEntry& entry : library.Entries())
    EXPECT_EQ(library.Find(entry.id), &entry);
  EXPECT_EQ(library.Find(1)->relative, "a/y.lrc");
  EXPECT_EQ(library.Find(3)->relative, "z.lrc");
  EXPECT_EQ(library.Find(0), nullptr);
  EXPECT_EQ(library.Find(4), nullptr);
  // A search hands out the same entries, never renumbered ones.
  EXPECT_EQ(library.Search("m").front(), library.Find(2));
  EXPECT_EQ(library.Search("m").front()->id, 2u);
}

TEST(LyricLibrary, NeverLeavesItsFolderThroughLinks) {
  TempFolder outside;
  outside.Write("secret.lrc", "secret");
  outside.Write("deep/hidden.lrc", "hidden");
  TempFolder folder;
  folder.Write("own.lrc", "own");
  folder.Write("real/inner.lrc", "inner");
  folder.Link(outside.Path() / "secret.lrc", "secret.lrc"); // a file outside
  folder.Link(outside.Path() / "deep", "deep");             // a folder outside
  folder.Link("../" + outside.Path().filename().string() + "/secret.lrc", "relative.lrc");
  folder.Link(folder.Path() / "own.lrc", "alias.lrc"); // a file inside
  folder.Link(folder.Path() / "real", "loop");         // a folder inside
  folder.Link(folder.Path() / "missing.lrc", "dangling.lrc");
  auto read = LyricLibrary::Read(folder.Path());
  ASSERT_TRUE(read.library) << read.error;
  EXPECT_EQ(Listed(*read.library), (std::set<std::string>{"alias.lrc", "own.lrc", "real/inner.lrc"}));
  for (const LyricEntry& entry : read.library->Entries())
    EXPECT_EQ(entry.file.string().rfind(fs::canonical(folder.Path()).string() + "/", 0), 0u) << entry.file;
}

TEST(LyricLibrary, ReadsThroughALinkedLibraryFolder) {
  TempFolder real;
  real.Write("x.lrc", "x");
  TempFolder links;
  links.Link(real.Path(), "library");
  auto read = LyricLibrary::Read(links.Path() / "library");
  ASSERT_TRUE(read.library) << read.error;
  EXPECT_EQ(Listed(*read.library), (std::set<std::string>{"x.lrc"}));
}

TEST(LyricLibrary, MissingFolderIsAnError) {
  TempFolder folder;
  folder.Write("file.lrc", "x");
  for (const fs::path& path : {folder.Path() / "absent", folder.Path() / "file.lrc"}) {
    auto read = LyricLibrary::Read(path);
    EXPECT_FALSE(read.library) << path;
    EXPECT_NE(read.error.find(path.string()), std::string::npos) << read.error;
  }
}

class LyricSearch : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"我的歌声里", "Vallisa-我的歌声里", "我的歌", "歌声", "Paper Boats", "paper",
                             "b/PAPER", "Ｐaper", "晚风灯塔"})
      folder_.Write(std::string(name) + ".lrc", name);
    auto read = LyricLibrary::Read(folder_.Path());
    ASSERT_TRUE(read.library) << read.error;
    library_.emplace(std::move(*read.library));
  }

  std::vector<std::string> Search(std::string_view key) const { return Titles(library_->Search(key)); }

  TempFolder folder_;
  std::optional<LyricLibrary> library_;
};

TEST_F(LyricSearch, FindsBothWaysExactFirstThenByteOrder) {
  using V = std::vector<std::string>;
  // "我的歌声里" contains 我的歌 and 歌声; Vallisa-我的歌声里 contains it.
  EXPECT_EQ(Search("我的歌声里"), (V{"我的歌声里", "Vallisa-我的歌声里", "我的歌", "歌声"}));
  // A title that is a prefix of another sorts before it.
  EXPECT_EQ(Search("Vallisa-我的歌声里"), (V{"Vallisa-我的歌声里", "我的歌", "我的歌声里", "歌声"}));
  EXPECT_EQ(Search("歌声"), (V{"歌声", "Vallisa-我的歌声里", "我的歌声里"}));
  EXPECT_EQ(Search("灯塔之夜"), V{});
}

TEST_F(LyricSearch, IgnoresAsciiCaseOnly) {
  using V = std::vector<std::string>;
  // Both "paper" files equal the key without case; byte order puts "PAPER" before "paper".
  EXPECT_EQ(Search("PaPeR"), (V{"PAPER", "paper", "Paper Boats"}));
  EXPECT_EQ(Search("paper boats"), (V{"Paper Boats", "PAPER", "paper"}));
  // The full-width letter is not folded: only the file spelled with it matches it exactly.
  EXPECT_EQ(Search("Ｐaper"), (V{"Ｐaper"}));
  EXPECT_EQ(Search("ｐaper"), V{});
}

TEST_F(LyricSearch, EmptyKeyFindsNothing) { EXPECT_TRUE(Search("").empty()); }

} // namespace
