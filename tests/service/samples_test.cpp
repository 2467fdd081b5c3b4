// The bundled samples: every sample song but one finds its own lyric file first.
#include "service/lyric_service.h"

#include "service_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

namespace fs = std::filesystem;
using namespace service_test;

std::string Percent(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x80 || c == ' ') {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

TEST(Samples, EverySongButOneFindsItsOwnLyricFirst) {
  const fs::path samples = CANTIVA_SAMPLES_DIR;
  lyric_service::LyricServiceRunner service(samples / "lyrics");
  ASSERT_NE(service.Port(), 0) << service.Error();
  std::set<std::string> without_lyric;
  size_t songs = 0;
  for (const auto& song : fs::directory_iterator(samples / "songs")) {
    ASSERT_EQ(song.path().extension(), ".mp3");
    songs++;
    const std::string name = song.path().stem().string();
    RawResponse page = RawGet(service.Port(), "/search/lrc?from=new_mp3&key=" + Percent(name));
    ASSERT_EQ(page.status, 200) << name;
    const std::string link = ClientLink(page.body);
    if (link.empty()) {
      without_lyric.insert(name);
      continue;
    }
    const auto* entry = service.Library()->Find(static_cast<unsigned>(std::stoul(link.substr(5))));
    ASSERT_NE(entry, nullptr) << link;
    EXPECT_EQ(entry->title, name);
    EXPECT_EQ(RawGet(service.Port(), link).body.rfind("[ti:", 0), 0u) << link;
  }
  EXPECT_GE(songs, 4u);
  EXPECT_EQ(without_lyric.size(), 1u);
}

} // namespace
