#include "engine/lyric_link.h"
#include "engine/text_between.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

const std::string kStart = "\"down-lrc-btn { 'href':'";
const std::string kEnd = "' }\" href=\"#\">";
const std::string kCaption = "下载LRC歌词";

std::string Button(const std::string& link) { return "<a class=" + kStart + link + kEnd + kCaption + "</a>"; }

struct Found {
  std::string count;
  std::string link;
};

Found Search(const std::string& page) {
  TextArray pieces = SplitResultPage(page.c_str());
  return {HitCountText(pieces).Bytes(), FirstLyricLink(pieces).Bytes()};
}

TEST(LyricLinkSearch, CountsTheButtonsAndTakesTheFirstLink) {
  struct Case {
    const char* what;
    std::string page;
    const char* count;
    std::string link;
  } cases[] = {
      {"one character, markers, one more character", "x" + kStart + "/x/1.lrc" + kEnd + kCaption + "y", "1",
       "/x/1.lrc"},
      {"markers in upper case", "x\"DOWN-LRC-BTN { 'HREF':'/x/1.lrc' }\" HREF=\"#\">" + kCaption + "y", "1",
       "/x/1.lrc"},
      {"two buttons", "<p>" + Button("/lrc/1.lrc") + "<p>" + Button("/lrc/2.lrc") + "<footer>", "2", "/lrc/1.lrc"},
      {"page ending on the caption", "<p>" + Button("/lrc/1.lrc") + "<p><a class=" + kStart + "/lrc/2.lrc" + kEnd + kCaption,
       "1", "/lrc/1.lrc"},
      {"no button at all", "<html>nothing found</html>", "0", ""},
      {"start marker without end", "x" + kStart + "/x/1.lrc", "0", ""},
      {"end marker right after start", "x" + kStart + kEnd + kCaption + "y", "1", ""},
      {"start marker twice", kStart + "a" + kStart + "/b.lrc" + kEnd + kCaption + "z", "1",
       "a" + kStart + "/b.lrc"},
      {"link only after the first caption", "x" + kCaption + Button("/lrc/9.lrc") + "z", "2", ""},
      {"empty page", "", "-1", ""},
  };
  for (const Case& c : cases) {
    Found found = Search(c.page);
    EXPECT_EQ(found.count, c.count) << c.what;
    EXPECT_EQ(found.link, c.link) << c.what;
  }
}

TEST(LyricLinkSearch, ATrailByteEqualToAMarkersFirstByteNeverStartsAMatch) {
  // 0x81 0x22 is one character whose second byte is a double quote, the first
  // byte of the start marker; the real marker follows it.
  std::string page = "\x81\"down-lrc-btn { 'href':'/bad.lrc" + kEnd + "x" + kStart + "/good.lrc" + kEnd + kCaption;
  Found found = Search(page);
  EXPECT_EQ(found.link, "/good.lrc");
  // A caption glued behind a lead byte is not split there.
  EXPECT_EQ(Search("\xB0" + kCaption.substr(1) + "x").count, "0");
}

TEST(TextBetween, QuoteTokenCaseFoldingAndStart) {
  struct Case {
    const char* text;
    const char* s;
    const char* e;
    std::optional<int32_t> start;
    std::optional<bool> case_sensitive;
    const char* expected;
  } cases[] = {
      {"a\"b\"c", "#引号", "#引号", std::nullopt, std::nullopt, "b"},
      {"a#引号b#引号c", "#引号", "#引号", std::nullopt, std::nullopt, ""},
      {"Set-Cookie: a=1; path=/", "set-cookie:", ";", std::nullopt, std::nullopt, " a=1"},
      {"Set-Cookie: a=1; path=/", "set-cookie:", ";", std::nullopt, true, ""},
      {"Set-Cookie: b=2", "Set-Cookie:", ";", std::nullopt, std::nullopt, ""},
      // The start position counts again inside the rest after the start marker.
      {"[a][b]", "[", "]", 3, std::nullopt, ""},
      {"[a][bcd]", "[", "]", 3, std::nullopt, "bcd"},
      {"[a][b]", "[", "]", 0, std::nullopt, "a"},
      {"abc", "", "c", std::nullopt, std::nullopt, ""},
      {"", "a", "b", std::nullopt, std::nullopt, ""},
      {"xAB", "ab", "", std::nullopt, std::nullopt, ""},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(TextBetween(c.text, c.s, c.e, c.start, c.case_sensitive).Bytes(), c.expected) << c.text;
}

} // namespace
