#include "engine/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Page(const std::string& utf8) {
  ByteSet bytes = ByteSet::Copy(utf8.data(), utf8.size());
  return PageBytesToText(bytes).Bytes();
}

std::string Lyric(const std::string& utf8) { return LyricTextToCp936(utf8.c_str()).Bytes(); }

TEST(TextEncoding, BothConversionsTurnUtf8IntoCodePage936) {
  struct Case {
    const char* what;
    std::string utf8;
    std::string cp936;
  } cases[] = {
      {"ascii", "[00:12.30]Hello", "[00:12.30]Hello"},
      {"one Chinese character", "\xE4\xB8\xAD", "\xD6\xD0"},
      {"a lyric line", reinterpret_cast<const char*>(u8"[00:01.00]我的歌声里"), "[00:01.00]我的歌声里"},
      {"the euro sign", "\xE2\x82\xAC", "\x80"},
      {"a character code page 936 lacks", "a\xE0\xB8\x81z", "a?z"},
      {"a character beyond the basic plane", "\xF0\x9F\x98\x80", "??"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Page(c.utf8), c.cp936) << c.what;
    EXPECT_EQ(Lyric(c.utf8), c.cp936) << c.what;
  }
}

TEST(TextEncoding, EmptyInputsGiveTheEmptyText) {
  EXPECT_TRUE(PageBytesToText(ByteRef()).IsEmpty());
  EXPECT_TRUE(LyricTextToCp936(TextRef()).IsEmpty());
  EXPECT_TRUE(LyricTextToCp936("").IsEmpty());
}

TEST(TextEncoding, AZeroByteCutsThePage) {
  std::string page("ab\0cd", 5);
  EXPECT_EQ(Page(page), "ab");
}

TEST(TextEncoding, AByteOrderMarkIsNotRemoved) {
  // U+FEFF has no code page 936 form: it becomes the default character.
  std::string converted = Lyric("\xEF\xBB\xBF[ti:x]");
  EXPECT_EQ(converted, "?[ti:x]");
  EXPECT_EQ(Page("\xEF\xBB\xBF[ti:x]"), "?[ti:x]");
}

TEST(TextEncoding, OnlyThePageComposesACombiningPair) {
  // e followed by U+0301 COMBINING ACUTE ACCENT; é is A8 A6 in code page 936.
  std::string pair = "e\xCC\x81";
  EXPECT_EQ(Page(pair), "\xA8\xA6");
  EXPECT_EQ(Lyric(pair), "e?");
}

TEST(TextEncoding, InvalidUtf8BecomesTheReplacementCharacterAndThenTheDefault) {
  EXPECT_EQ(Page("a\xFF" "b"), "a?b");
  EXPECT_EQ(Lyric("a\xC3"), "a?");
}

TEST(TextEncoding, TheIntermediateStepsMeasureExactly) {
  ByteSet utf8 = ByteSet::Copy("\xE4\xB8\xAD" "a", 4);
  ByteSet wide = Utf8BytesToUtf16(utf8);
  ASSERT_EQ(wide.Length(), 4); // two units, no terminator
  EXPECT_EQ(wide.Data()[0], 0x2D);
  EXPECT_EQ(wide.Data()[1], 0x4E);
  ByteSet with_terminator = TextToUtf16("\xE4\xB8\xAD");
  ASSERT_EQ(with_terminator.Length(), 4);
  EXPECT_EQ(with_terminator.Data()[2], 0);
  EXPECT_STREQ(Utf16ToText(with_terminator, 936).Bytes(), "\xD6\xD0");
  EXPECT_STREQ(Utf16ToText(with_terminator).Bytes(), "\xD6\xD0"); // the ANSI code page is 936
  // An odd last byte is ignored.
  ByteSet odd = ByteSet::Copy("a\0b", 3);
  EXPECT_STREQ(Utf16ToCp936Text(odd).Bytes(), "a");
}

} // namespace
