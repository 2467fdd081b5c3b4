#include "service/result_page.h"

#include "service_fixture.h"

#include <gtest/gtest.h>

namespace {

using lyric_service::DownloadButton;
using lyric_service::EscapeText;
using lyric_service::LyricEntry;
using lyric_service::ResultPage;
using service_test::ClientLink;
using service_test::CountOf;
using service_test::kCaption;
using service_test::kLinkStart;
using service_test::Links;

std::string FoldAscii(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(ResultPage, ButtonIsWrittenExactly) {
  EXPECT_EQ(DownloadButton(17),
            "<a class=\"down-lrc-btn { 'href':'/lrc/17.lrc' }\" href=\"#\">下载LRC歌词</a>");
}

TEST(ResultPage, EveryHitHasItsTitleThenItsButtonAndThePageGoesOn) {
  const std::vector<LyricEntry> entries = {{4, "我的歌声里", {}, {}}, {2, "Vallisa-我的歌声里", {}, {}}};
  const std::string page = ResultPage("我的歌声里", {&entries[0], &entries[1]});
  EXPECT_EQ(CountOf(page, kCaption), 2u);
  EXPECT_EQ(Links(page), (std::vector<std::string>{"/lrc/4.lrc", "/lrc/2.lrc"}));
  EXPECT_EQ(ClientLink(page), "/lrc/4.lrc");
  size_t previous_button = 0;
  for (const LyricEntry& entry : entries) {
    size_t button = page.find(DownloadButton(entry.id));
    ASSERT_NE(button, std::string::npos);
    size_t title = page.find(entry.title, previous_button);
    EXPECT_LT(title, button) << entry.title;
    previous_button = button + 1;
  }
  // Text after the last caption makes it a piece of its own when the client splits the page.
  EXPECT_GT(page.size(), page.rfind(kCaption) + kCaption.size() + 10);
}

TEST(ResultPage, NoHitOrEmptyKeyMeansNoButton) {
  for (const char* key : {"", "无人知晓的旋律"}) {
    const std::string page = ResultPage(key, {});
    EXPECT_EQ(CountOf(page, kCaption), 0u) << key;
    EXPECT_EQ(CountOf(FoldAscii(page), FoldAscii(std::string(kLinkStart))), 0u) << key;
    EXPECT_NE(page.find("</html>"), std::string::npos);
  }
}

// Titles and keys are shown on the page, so a file or a key spelled like a caption or a link
// must not add a hit the client would count, nor a link it would cut out first.
TEST(ResultPage, ShownTextNeverPassesForAButton) {
  const char* hostile[] = {
      "下载LRC歌词",
      "歌 下载lrc歌词 下载",
      "\"down-lrc-btn { 'href':'/evil.lrc' }\" href=\"#\">",
      "\"DOWN-LRC-BTN { 'HREF':'/evil.lrc' }",
      "<script>&amp;",
  };
  for (const char* text : hostile) {
    const std::vector<LyricEntry> entries = {{1, text, {}, {}}, {2, "plain", {}, {}}};
    const std::pair<std::string, size_t> pages[] = {{ResultPage(text, {&entries[0], &entries[1]}), 2},
                                                    {ResultPage(text, {}), 0}};
    for (const auto& [page, hits] : pages) {
      EXPECT_EQ(CountOf(page, kCaption), hits) << text;
      EXPECT_EQ(CountOf(page, "下载"), hits) << text;
      EXPECT_EQ(CountOf(FoldAscii(page), FoldAscii(std::string(kLinkStart))), hits) << text;
      EXPECT_EQ(CountOf(page, "<script>"), 0u) << text;
      if (hits) {
        EXPECT_EQ(ClientLink(page), "/lrc/1.lrc") << text;
      }
    }
  }
}

TEST(ResultPage, EscapingKeepsOtherTextAsItIs) {
  EXPECT_EQ(EscapeText("晚风灯塔 Paper Boats"), "晚风灯塔 Paper Boats");
  EXPECT_EQ(EscapeText("a<b>&\"'"), "a&lt;b&gt;&amp;&quot;&#39;");
  EXPECT_EQ(EscapeText("下载了下"), "&#19979;载了下");
}

} // namespace
