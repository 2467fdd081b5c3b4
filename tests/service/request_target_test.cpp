#include "service/request_target.h"

#include <gtest/gtest.h>

namespace {

using lyric_service::ParseRequestTarget;
using lyric_service::PercentDecode;
using lyric_service::SearchKey;

struct TargetCase {
  const char* target;
  const char* path;
  const char* query;
};

TEST(RequestTarget, OriginAndAbsoluteFormsNameTheSameResource) {
  const TargetCase cases[] = {
      {"/search/lrc?from=new_mp3&key=a", "/search/lrc", "from=new_mp3&key=a"},
      {"http://any-host/search/lrc?from=new_mp3&key=a", "/search/lrc", "from=new_mp3&key=a"},
      {"HTTP://Any-Host:8780/lrc/3.lrc", "/lrc/3.lrc", ""},
      {"http://user@host:1/lrc/3.lrc", "/lrc/3.lrc", ""},
      {"http://host", "/", ""},
      {"http://host?key=x", "/", "key=x"},
      {"/lrc/%33.lrc", "/lrc/3.lrc", ""},
      {"/a?b?c", "/a", "b?c"},
      // Not a scheme: the colon comes after a slash, or the name starts with a digit.
      {"/x://y/lrc/1.lrc", "/x://y/lrc/1.lrc", ""},
      {"1http://host/lrc/1.lrc", "1http://host/lrc/1.lrc", ""},
  };
  for (const TargetCase& c : cases) {
    auto parsed = ParseRequestTarget(c.target);
    EXPECT_EQ(parsed.path, c.path) << c.target;
    EXPECT_EQ(parsed.query, c.query) << c.target;
  }
}

TEST(RequestTarget, PercentDecodingKeepsPlusAndBrokenEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"a%20b", "a b"},
      {"a+b", "a+b"},
      {"%E6%88%91", "\xE6\x88\x91"},
      {"%e6%88%91", "\xE6\x88\x91"},
      {"100%", "100%"},
      {"%4", "%4"},
      {"%zz%41", "%zzA"},
      {"%u6211", "%u6211"},
      {"%2525", "%25"},
  };
  for (auto [encoded, decoded] : cases)
    EXPECT_EQ(PercentDecode(encoded), decoded) << encoded;
}

TEST(RequestTarget, KeyRunsToTheEndOfTheQuery) {
  const std::pair<const char*, const char*> cases[] = {
      {"from=new_mp3&key=%E6%88%91", "\xE6\x88\x91"},
      {"from=new_mp3&key=\xE6\x88\x91", "\xE6\x88\x91"},
      {"from=new_mp3&key=Tom%20&%20Jerry", "Tom & Jerry"},
      {"from=new_mp3&key=a=b", "a=b"},
      {"from=new_mp3&key=C++", "C++"},
      {"key=first", "first"},
      {"from=new_mp3&key=", ""},
      {"monkey=x&key=y", "y"},
  };
  for (auto [query, key] : cases)
    EXPECT_EQ(SearchKey(query), key) << query;
  EXPECT_EQ(SearchKey("from=new_mp3"), std::nullopt);
  EXPECT_EQ(SearchKey("monkey=x"), std::nullopt);
  EXPECT_EQ(SearchKey(""), std::nullopt);
}

} // namespace
