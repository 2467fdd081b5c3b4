#include "kernel32/file.h"
#include "kernel32/find_file.h"
#include "kernel32/handle.h"
#include "kernel32/last_error.h"

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// Names on disk are UTF-8; the listing gives them in code page 936.
const char kChineseUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87 \xE6\xAD\x8C.mp3"; // "zhong wen ge.mp3"
const char kChineseGbk[] = "\xD6\xD0\xCE\xC4 \xB8\xE8.mp3";
const char kThaiUtf8[] = "\xE0\xB8\x81.mp3"; // a Thai letter GBK lacks

class FindFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_FALSE(folder.Path().empty());
    folder.Put("a.mp3", "12345");
    folder.Put("B.MP3");
    folder.Put(".hidden.mp3");
    folder.Put("x.mp3x");
    folder.Put("notes.txt");
    folder.MakeFolder("d.mp3");
    folder.Put(kChineseUtf8);
    folder.Put(kThaiUtf8);
  }

  // Every entry the pattern lists, by name, with its attributes.
  std::map<std::string, WIN32_FIND_DATAA> List(const std::string& pattern) {
    std::map<std::string, WIN32_FIND_DATAA> listed;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
      return listed;
    do
      listed[found.cFileName] = found;
    while (FindNextFileA(find, &found));
    EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
    EXPECT_TRUE(FindClose(find));
    return listed;
  }

  std::set<std::string> Names(const std::string& pattern) {
    std::set<std::string> names;
    for (const auto& [name, data] : List(pattern))
      names.insert(name);
    return names;
  }

  TempFolder folder;
};

TEST_F(FindFileTest, PatternTable) {
  const std::set<std::string> mp3s = {"a.mp3", "B.MP3", ".hidden.mp3", "d.mp3", kChineseGbk, "?.mp3"};
  std::set<std::string> everything = mp3s;
  everything.insert({".", "..", "x.mp3x", "notes.txt"});
  struct Case {
    const char* pattern;
    std::set<std::string> names;
  };
  const Case cases[] = {
      {"\\*.mp3", mp3s},
      {"\\*.MP3", mp3s},
      {"/*.mp3", mp3s},
      {"\\\\*.mp3", mp3s},
      {"\\?.mp3", {"a.mp3", "B.MP3", "d.mp3", "?.mp3"}},
      {"\\*", everything},
      {"\\*.*", everything},
      {"\\a.MP3", {"a.mp3"}},
      {"\\*.mp", {}},
      {"\\\xD6\xD0*", {kChineseGbk}},
      {"\\*.txt", {"notes.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(Names(folder.Path() + c.pattern), c.names);
  }
}

TEST_F(FindFileTest, AttributesAndSizes) {
  auto listed = List(folder.Path() + "\\*.mp3");
  ASSERT_EQ(listed.size(), 6u);
  EXPECT_EQ(listed["a.mp3"].dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(listed["a.mp3"].nFileSizeLow, 5u);
  EXPECT_EQ(listed["a.mp3"].nFileSizeHigh, 0u);
  EXPECT_NE(listed["a.mp3"].ftLastWriteTime.dwHighDateTime, 0u);
  EXPECT_EQ(listed["d.mp3"].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(listed[".hidden.mp3"].dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_STREQ(listed["a.mp3"].cAlternateFileName, "");
  EXPECT_EQ(List(folder.Path() + "\\*")["."].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FindFileTest, NothingToListIsInvalidHandleWithReason) {
  WIN32_FIND_DATAA found;
  SetLastError(0);
  EXPECT_EQ(FindFirstFileA((folder.Path() + "\\missing\\*.mp3").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(FindFirstFileA((folder.Path() + "\\*.wav").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(FindFirstFileA((folder.Path() + "\\notes.txt\\*").c_str(), &found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FindFileTest, ExhaustedListingStaysExhaustedUntilClosed) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder.Path() + "\\a.mp3").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_NE(find, nullptr);
  EXPECT_FALSE(FindNextFileA(find, &found));
  EXPECT_FALSE(FindNextFileA(find, &found));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_FALSE(CloseHandle(find)) << "a listing is closed with FindClose";
  EXPECT_TRUE(FindClose(find));
  EXPECT_FALSE(FindClose(find));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindNextFileA(find, &found));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

// 0x95 0x5C is one GBK character (U+661E) whose trail byte is a backslash;
// it names a folder and must not split the path there.
TEST_F(FindFileTest, TrailByte5CIsNoSeparator) {
  folder.MakeFolder("\xE6\x98\x9E");
  folder.Put("\xE6\x98\x9E/song.mp3");
  EXPECT_EQ(Names(folder.Path() + "\\\x95\x5C\\*.mp3"), std::set<std::string>{"song.mp3"});
  EXPECT_EQ(Names(folder.Path() + "\\*\x5C"), std::set<std::string>{})
      << "a pattern ending in a separator names no entry";
  EXPECT_EQ(List(folder.Path() + "\\\x95\x5C")["\x95\x5C"].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace
