#include "engine/lyric_service.h"
#include "engine/run_log.h"
#include "engine/song_list.h"
#include "engine/song_processing.h"
#include "service/lyric_service.h"

#include <gtest/gtest.h>

#include <thread> // steady_clock; <chrono> itself cannot be compiled for code page 936
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::vector<std::string> LogLines() {
  std::vector<std::string> lines;
  std::string log = RunLog.Text().Bytes();
  for (size_t at = 0; at < log.size();) {
    size_t end = log.find("\r\n", at);
    EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
    if (end == std::string::npos)
      break;
    lines.push_back(log.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

const std::string kLyricUtf8 = Utf8(u8"[00:01.00]我的歌声里\n[00:05.20]唱给你听\n");
const std::string kLyricCp936 = "[00:01.00]我的歌声里\n[00:05.20]唱给你听\n";
const std::string kFailure = std::string(" 下载失败！请上报：Quenmar QQ：") + MakerContact;

// A lyric library and a song folder in a fresh temporary place, the bundled
// service serving the library, and every request for the lyric service's
// host routed to it through the proxy setting.
class SongProcessingTest : public testing::Test {
protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("cantiva-song-" + std::to_string(::getpid()) + "-" +
                                          testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "library");
    fs::create_directories(root_ / "songs");
    WriteBytes(root_ / "library" / fs::path(u8"我的歌声里.lrc"), kLyricUtf8);
    WriteBytes(root_ / "library" / "X.MP3.lrc", "[00:00.00]upper case\n");
    WriteBytes(root_ / "library" / "x.lrc", "[00:00.00]x\n");
    WriteBytes(root_ / "library" / "nothing here.lrc", "");
    WriteBytes(root_ / "library" / "one byte.lrc", "z");
    songs_ = root_ / "songs";
    SongFolder = TextValue::Copy(songs_.string().c_str());
    RunLog.Free();
    unsetenv("no_proxy");
    unsetenv("NO_PROXY");
  }

  void TearDown() override {
    unsetenv("http_proxy");
    RunLog.Free();
    SongFolder = TextValue();
    fs::remove_all(root_);
  }

  void Serve() {
    service_ = std::make_unique<lyric_service::LyricServiceRunner>(root_ / "library");
    ASSERT_NE(service_->Port(), 0) << service_->Error();
    setenv("http_proxy", service_->BaseUrl().c_str(), 1);
  }

  // The listed name goes through the same name rule as the worker's.
  void Process(const char* listed) {
    TextValue name = RemoveTexts(listed, ".mp3");
    ProcessSong(listed, name);
  }

  fs::path root_;
  fs::path songs_;
  std::unique_ptr<lyric_service::LyricServiceRunner> service_;
};

TEST_F(SongProcessingTest, SavesTheFirstHitsLyricInCodePage936BesideTheSong) {
  Serve();
  Process("我的歌声里.mp3");
  EXPECT_EQ(ReadBytes(songs_ / fs::path(u8"我的歌声里.lrc")), kLyricCp936);
  std::vector<std::string> expected = {"我的歌声里  准备中……", "共找到1个本歌曲歌词！自动下载第一个……",
                                       "本歌曲下载成功！"};
  EXPECT_EQ(LogLines(), expected);
}

TEST_F(SongProcessingTest, NamesFollowTheRemovalOfEveryLowerCaseMp3) {
  Serve();
  struct Case {
    const char* listed;
    const char* lyric_file;
  } cases[] = {
      {"X.MP3", "X.MP3.lrc"},
      {"x.mp3.mp3", "x.lrc"},
  };
  for (const Case& c : cases) {
    Process(c.listed);
    EXPECT_TRUE(fs::is_regular_file(songs_ / c.lyric_file)) << c.listed;
  }
  EXPECT_EQ(ReadBytes(songs_ / "X.MP3.lrc"), "[00:00.00]upper case\n");
  EXPECT_EQ(LogLines().size(), 6u);
}

TEST_F(SongProcessingTest, AnEmptyNameSearchesNothingAndLogsTheListedName) {
  Serve();
  Process(".mp3");
  std::vector<std::string> expected = {"  准备中……", "共找到0个本歌曲歌词！自动下载第一个……", ".mp3" + kFailure};
  EXPECT_EQ(LogLines(), expected);
  EXPECT_FALSE(fs::exists(songs_ / ".lrc"));
}

TEST_F(SongProcessingTest, ASongWithoutAHitWritesNothing) {
  Serve();
  Process("无人知晓.mp3");
  std::vector<std::string> expected = {"无人知晓  准备中……", "共找到0个本歌曲歌词！自动下载第一个……",
                                       "无人知晓.mp3" + kFailure};
  EXPECT_EQ(LogLines(), expected);
  EXPECT_TRUE(fs::is_empty(songs_));
}

TEST_F(SongProcessingTest, ALyricThatCannotBeWrittenIsLoggedAsSuch) {
  Serve();
  fs::create_directories(songs_ / "x.lrc"); // a folder where the file should go
  Process("x.mp3");
  std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], std::string("下载成功但解码失败！请上报：Quenmar QQ：") + MakerContact);
}

TEST_F(SongProcessingTest, ALongerExistingLyricIsReplacedWhole) {
  Serve();
  WriteBytes(songs_ / "x.lrc", std::string(4000, 'o'));
  Process("x.mp3");
  EXPECT_EQ(ReadBytes(songs_ / "x.lrc"), "[00:00.00]x\n");
}

TEST_F(SongProcessingTest, ADownloadThatBringsNothingLeavesTheExistingLyricAlone) {
  Serve();
  WriteBytes(songs_ / "nothing here.lrc", "[00:00.00]my own lyric\n");
  Process("nothing here.mp3");
  EXPECT_EQ(ReadBytes(songs_ / "nothing here.lrc"), "[00:00.00]my own lyric\n");
  std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "nothing here.mp3" + kFailure);
}

TEST_F(SongProcessingTest, ADownloadOfOneByteIsWritten) {
  Serve();
  Process("one byte.mp3");
  EXPECT_EQ(ReadBytes(songs_ / "one byte.lrc"), "z");
  EXPECT_EQ(LogLines().back(), "本歌曲下载成功！");
}

TEST_F(SongProcessingTest, TheServiceDownGivesTheFailureLineQuickly) {
  {
    lyric_service::LyricServiceRunner gone(root_ / "library");
    setenv("http_proxy", gone.BaseUrl().c_str(), 1);
  } // the port is closed again
  auto start = std::chrono::steady_clock::now();
  Process("我的歌声里.mp3");
  // A refused connection ends the request at once, long before any time-out.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  std::vector<std::string> expected = {"我的歌声里  准备中……", "共找到-1个本歌曲歌词！自动下载第一个……",
                                       "我的歌声里.mp3" + kFailure};
  EXPECT_EQ(LogLines(), expected);
}

TEST(RemoveTexts, RemovesEveryOccurrenceOfEachText) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {{"我的歌声里.mp3", "我的歌声里"}, {"X.MP3", "X.MP3"}, {"x.mp3.mp3", "x"},
               {"a.mp3b.mp3", "ab"},              {".mp3", ""},            {"", ""}};
  for (const Case& c : cases)
    EXPECT_STREQ(RemoveTexts(c.text, ".mp3").Bytes(), c.expected) << c.text;
  EXPECT_STREQ(RemoveTexts("a-b_c", "-", "", "_").Bytes(), "abc");
}

} // namespace
