#include "runtime/find_text.h"
#include "runtime/replace_text.h"
#include "runtime/split_text.h"
#include "runtime/text_commands.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Pieces(const TextArray& a) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= a.Count(); i++) {
    EXPECT_FALSE(a.At(i).Pointer() == nullptr) << "pieces are always allocated";
    out.emplace_back(a.At(i).Bytes());
  }
  return out;
}

using V = std::vector<std::string>;

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsAnEmptyTail) {
  struct Case {
    const char* text;
    std::optional<const char*> separator;
    std::optional<int32_t> maximum;
    V expected;
  } cases[] = {
      {"a,,b", std::nullopt, std::nullopt, {"a", "", "b"}},
      {",a", std::nullopt, std::nullopt, {"", "a"}},
      {"a,b,", std::nullopt, std::nullopt, {"a", "b"}},
      {"a,b,c", std::nullopt, 2, {"a", "b"}},
      {"a,b,c", std::nullopt, -1, {}},
      {"", ",", std::nullopt, {}},
      {"abc", "", std::nullopt, {"abc"}},
      {"x下载LRC歌词y下载LRC歌词", "下载LRC歌词", std::nullopt, {"x", "y"}},
      {"下载LRC歌词下载LRC歌词z", "下载LRC歌词", std::nullopt, {"", "", "z"}},
      {"a\r\nb\r\n\r\nc", "\r\n", std::nullopt, {"a", "b", "", "c"}},
  };
  for (const Case& c : cases) {
    std::optional<TextRef> sep;
    if (c.separator)
      sep = TextRef(*c.separator);
    EXPECT_EQ(Pieces(SplitText(c.text, sep, c.maximum)), c.expected) << c.text;
  }
}

TEST(SplitText, NeverMatchesFromTheSecondByteOfACharacter) {
  // 0xB0 0x41 is one character whose second byte is "A".
  EXPECT_EQ(Pieces(SplitText("x\xB0" "Ay", "A")), (V{"x\xB0" "Ay"}));
  EXPECT_EQ(Pieces(SplitText("xAy\xB0" "A", "A")), (V{"x", "y\xB0" "A"}));
  // A lone lead byte at the very end ends the scan.
  EXPECT_EQ(Pieces(SplitText("a,b\xB0", ",")), (V{"a", "b\xB0"}));
}

TEST(FindText, StepsOverTwoByteCharactersAndFoldsAsciiOnly) {
  struct Case {
    const char* text;
    const char* sought;
    std::optional<int32_t> start;
    bool ignore_case;
    int32_t expected;
  } cases[] = {
      {"abc", "a", std::nullopt, false, 1},
      {"abc", "c", 0, false, 3},
      {"abc", "c", -4, false, 3},
      {"abc", "c", 4, false, -1},
      {"abcabc", "abc", 2, false, 4},
      {"ABC", "b", std::nullopt, false, -1},
      {"ABC", "b", std::nullopt, true, 2},
      {"\xB0" "Ab", "A", std::nullopt, false, -1},
      {"\xB0" "AbA", "A", std::nullopt, false, 4},
      {"中文", "文", std::nullopt, false, 3},
      {"", "a", std::nullopt, false, -1},
      {"a", "", std::nullopt, false, -1},
      {"ab", "abc", std::nullopt, false, -1},
      // Case folding covers the second byte of a character too, byte by byte.
      {"\xB0" "a", "\xB0" "A", std::nullopt, true, 1},
      {"\xC4\xE3", "\xC4\xE3", std::nullopt, true, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignore_case), c.expected) << c.text << " / " << c.sought;
}

TEST(ReplaceText, ReplacesWholeCharactersOnly) {
  struct Case {
    const char* text;
    const char* sought;
    std::optional<const char*> with;
    std::optional<int32_t> start;
    std::optional<int32_t> count;
    bool case_sensitive;
    const char* expected;
  } cases[] = {
      {"x.mp3.mp3", ".mp3", std::nullopt, std::nullopt, std::nullopt, true, "x"},
      {"a.mp3b.mp3", ".mp3", std::nullopt, std::nullopt, std::nullopt, true, "ab"},
      {"X.MP3", ".mp3", std::nullopt, std::nullopt, std::nullopt, true, "X.MP3"},
      {"X.MP3", ".mp3", std::nullopt, std::nullopt, std::nullopt, false, "X"},
      {"aaaa", "a", "b", 2, 2, true, "abba"},
      {"aaa", "aa", "x", std::nullopt, std::nullopt, true, "xa"},
      {"abc", "z", "y", std::nullopt, std::nullopt, true, "abc"},
      {"abc", "a", "y", 0, std::nullopt, true, "abc"},
      {"abc", "a", "y", std::nullopt, 0, true, "abc"},
      {"#引号a#引号", "#引号", "\"", std::nullopt, std::nullopt, true, "\"a\""},
      {"\xB0" "Ab", "A", "z", std::nullopt, std::nullopt, true, "\xB0" "Ab"},
      {"Location: /x", "location:", std::nullopt, std::nullopt, 1, false, " /x"},
  };
  for (const Case& c : cases) {
    std::optional<TextRef> with;
    if (c.with)
      with = TextRef(*c.with);
    TextValue result = ReplaceText(c.text, c.sought, with, c.start, c.count, c.case_sensitive);
    EXPECT_STREQ(result.Bytes(), c.expected) << c.text;
  }
  EXPECT_TRUE(ReplaceText("", "a").IsNull());
  EXPECT_TRUE(ReplaceText(".mp3", ".mp3").IsNull());
}

TEST(TrimText, RemovesSpacesAndFullWidthSpaces) {
  struct Case {
    const char* text;
    const char* trimmed;
    const char* without_spaces;
  } cases[] = {
      {"  a b  ", "a b", "ab"},
      {"　a　b　", "a　b", "ab"},
      {" 　 x", "x", "x"},
      {"   ", "", ""},
      {"", "", ""},
      // The trail byte 0xA1 of 啊 (B0 A1) followed by a full-width space.
      {"啊　", "啊", "啊"},
      {"a=hello world", "a=hello world", "a=helloworld"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(TrimText(c.text).Bytes(), c.trimmed) << c.text;
    EXPECT_STREQ(RemoveAllSpaces(c.text).Bytes(), c.without_spaces) << c.text;
  }
  EXPECT_TRUE(TrimText("  ").IsNull());
}

TEST(TextSlices, CutAndCopyByBytes) {
  EXPECT_STREQ(LeftText("abc", 2).Bytes(), "ab");
  EXPECT_STREQ(LeftText("abc", 9).Bytes(), "abc");
  EXPECT_TRUE(LeftText("abc", 0).IsNull());
  EXPECT_TRUE(LeftText("", 3).IsNull());
  EXPECT_STREQ(RightText("abc", 2).Bytes(), "bc");
  EXPECT_STREQ(RightText("abc", 5).Bytes(), "abc");
  EXPECT_TRUE(RightText("abc", 0).IsNull());
  EXPECT_TRUE(CopyText("").IsNull());
  EXPECT_STREQ(SpaceText(3).Bytes(), "   ");
  EXPECT_TRUE(SpaceText(0).IsNull());
  EXPECT_STREQ(UpperText("post中a").Bytes(), "POST中A");
  // The second byte of 中 is not a letter to fold; 0xB0 0x61 keeps its 0x61.
  EXPECT_STREQ(UpperText("\xB0" "a").Bytes(), "\xB0" "a");
  EXPECT_TRUE(UpperText("").IsNull());
}

} // namespace
