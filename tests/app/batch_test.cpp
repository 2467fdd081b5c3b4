// A batch from the folder button to the finished log, as a user runs it.
#include "program_run.h"
#include "user_actions.h"

#include "user32/headless_display.h"
#include "user32/window.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kLyricUtf8 = reinterpret_cast<const char*>(u8"[00:01.00]我的歌声里\n[00:05.20]唱给你听\n");
const std::string kLyricCp936 = "[00:01.00]我的歌声里\n[00:05.20]唱给你听\n";
const std::string kFailed = " 下载失败！请上报：Quenmar QQ：20130501";
const std::string kNotWritten = "下载成功但解码失败！请上报：Quenmar QQ：20130501";
const std::string kSaved = "本歌曲下载成功！";
const std::string kNoSongs = "本目录下并没有mp3音频文件！\r\n本程序目前只支持mp3歌曲，我将在下一版本开发支持"
                             "其他格式的程式！感谢支持。";
const std::string kLogWarning =
    "强烈建议选中日志！因为种种原因歌曲歌词需要手动下载，没有日志您不知道哪个没有下载下来！"
    "\r\n单击取消返回";
const std::string kDone =
    "完毕！具体请查看日志！\r\n感谢使用！ powered By Quenmar，QQ20130501。欢迎反馈意见。";

std::string Confirmation(int songs) {
  return "当前共搜索到" + std::to_string(songs) +
         "首MP3歌曲！单击确认 开始加载歌词！加载的歌词全部以当前文件名+.lrc形式储存到此目录中！";
}

std::vector<std::string> Lines(const std::string& log) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < log.size();) {
    size_t end = log.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "a line without CR LF: " << log.substr(at);
      break;
    }
    lines.push_back(log.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// The three header lines of a batch over `folder`.
void ExpectHeader(const std::vector<std::string>& lines, size_t at, const std::string& folder) {
  ASSERT_GE(lines.size(), at + 3);
  const std::string version = "Quenmar Cantiva V1.0    ";
  EXPECT_EQ(lines[at].substr(0, version.size()), version);
  EXPECT_NE(lines[at].find("年"), std::string::npos) << lines[at];
  EXPECT_NE(lines[at].find("日"), std::string::npos) << lines[at];
  EXPECT_EQ(lines[at + 1], "搜索文件夹：" + folder);
  EXPECT_EQ(lines[at + 2], "日志开始！");
}

// The song lines of a batch, three per song, in the order the folder listed
// the songs: compared per song.
std::set<std::vector<std::string>> SongGroups(const std::vector<std::string>& lines, size_t from, size_t to) {
  std::set<std::vector<std::string>> groups;
  for (size_t at = from; at + 3 <= to; at += 3)
    groups.insert({lines[at], lines[at + 1], lines[at + 2]});
  return groups;
}

// Runs one confirmed batch over the songs folder: click, folder, confirm.
void RunBatchUpTo(const ProgramRun& run, int songs) {
  user::ClickFolderButton();
  user::ChooseFolder(run.Songs().string());
  user::Box confirm = user::WaitForBox();
  EXPECT_EQ(confirm.text, Confirmation(songs));
  user::Answer(confirm, "确定");
}

void AnswerCompletion() {
  user::Box done = user::WaitForBox(30000);
  EXPECT_EQ(done.text, kDone);
  user::Answer(done, "确定");
}

bool LogHolds(const ProgramRun& run, size_t lines) {
  return fs::exists(run.LogFile()) && Lines(run.Read(run.LogFile())).size() >= lines;
}

class Batch : public testing::Test {
protected:
  void PutThreeSongs() {
    run_.PutLyric(u8"我的歌声里.lrc", kLyricUtf8);
    run_.PutLyric(u8"x.lrc", "[00:00.00]x\n");
    run_.PutSong(u8"我的歌声里.mp3");
    run_.PutSong(u8"无人知晓.mp3");
    run_.PutSong(u8"x.mp3");
    fs::create_directories(run_.Songs() / "x.lrc"); // a folder where its lyric should go
  }
  void ExpectThreeSongLines(const std::vector<std::string>& lines, size_t from) {
    ASSERT_GE(lines.size(), from + 9);
    std::set<std::vector<std::string>> expected = {
        {"我的歌声里  准备中……", "共找到1个本歌曲歌词！自动下载第一个……", kSaved},
        {"无人知晓  准备中……", "共找到0个本歌曲歌词！自动下载第一个……", "无人知晓.mp3" + kFailed},
        {"x  准备中……", "共找到1个本歌曲歌词！自动下载第一个……", kNotWritten},
    };
    EXPECT_EQ(SongGroups(lines, from, from + 9), expected);
  }

  ProgramRun run_;
};

TEST_F(Batch, ThreeSongsGiveTheirLyricsAndTheLogWhichOpens) {
  PutThreeSongs();
  ProgramRunResult result = run_.Run([&] {
    RunBatchUpTo(run_, 3);
    AnswerCompletion();
    EXPECT_TRUE(user::WaitUntil([&] { return fs::exists(run_.OpenedRecord()); })) << "the log was not opened";
    EXPECT_TRUE(IsWindowEnabled(user::MainWindow()));
    EXPECT_EQ(user::TextOf(user::Control(6)), run_.Songs().string());
    std::string status = user::TextOf(user::Control(7));
    const std::string tail = "  正在下载……3/3……";
    ASSERT_GT(status.size(), tail.size()) << status;
    EXPECT_EQ(status.substr(status.size() - tail.size()), tail);
    std::set<std::string> names = {"我的歌声里", "无人知晓", "x"};
    EXPECT_TRUE(names.count(status.substr(0, status.size() - tail.size()))) << status;
    PlatformTestRequestClose(user::MainWindow());
  });
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(run_.Read(run_.Songs() / fs::path(u8"我的歌声里.lrc")), kLyricCp936);
  EXPECT_FALSE(fs::exists(run_.Songs() / fs::path(u8"无人知晓.lrc")));
  EXPECT_TRUE(fs::is_directory(run_.Songs() / "x.lrc"));

  std::vector<std::string> lines = Lines(run_.Read(run_.LogFile()));
  EXPECT_EQ(lines.size(), 9u + 3u);
  ExpectHeader(lines, 0, run_.Songs().string());
  ExpectThreeSongLines(lines, 3);
  EXPECT_EQ(run_.Read(run_.OpenedRecord()), run_.LogFile().string() + "\n");
}

TEST_F(Batch, AnUntickedLogBoxWarnsAndTheLogIsWrittenButNotOpened) {
  run_.PutSong(u8"无人知晓.mp3");
  ProgramRunResult result = run_.Run([&] {
    user::Click(user::Control(9));
    EXPECT_TRUE(user::WaitUntil([] { return !user::LogBoxTicked(); }));
    user::ClickFolderButton();
    user::Box warning = user::WaitForBox();
    EXPECT_EQ(warning.text, kLogWarning);
    user::Answer(warning, "确定");
    user::ChooseFolder(run_.Songs().string());
    user::Answer(user::WaitForBox(), "确定");
    AnswerCompletion();
    EXPECT_TRUE(user::WaitUntil([&] { return LogHolds(run_, 6); }));
    EXPECT_FALSE(user::LogBoxTicked()) << "the warning leaves the box unticked";
    PlatformTestRequestClose(user::MainWindow());
  });
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(Lines(run_.Read(run_.LogFile())).size(), 6u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(fs::exists(run_.OpenedRecord()));
}

TEST_F(Batch, CancelOnTheWarningTheBrowserOrTheConfirmationChangesNothing) {
  PutThreeSongs();
  ProgramRunResult result = run_.Run([&] {
    HWND log_box = user::Control(9);
    user::Click(log_box);
    user::ClickFolderButton();
    user::Answer(user::WaitForBox(), "取消");
    user::ExpectNoWindow("浏览文件夹");
    user::Click(log_box);
    EXPECT_TRUE(user::WaitUntil([] { return user::LogBoxTicked(); }));

    user::ClickFolderButton();
    user::CancelFolderBrowser();
    EXPECT_EQ(user::TextOf(user::Control(6)), "目录未选择！");
    user::ExpectNoWindow("信息", 300);

    user::ClickFolderButton();
    user::ChooseFolder(run_.Songs().string());
    user::Box confirm = user::WaitForBox();
    EXPECT_EQ(confirm.text, Confirmation(3));
    user::Answer(confirm, "取消");
    EXPECT_TRUE(IsWindowEnabled(user::MainWindow()));
    EXPECT_EQ(user::TextOf(user::Control(6)), run_.Songs().string());
    EXPECT_EQ(user::TextOf(user::Control(7)), "准备中……");
    user::ExpectNoWindow("信息", 300);
    PlatformTestRequestClose(user::MainWindow());
  });
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(fs::exists(run_.LogFile()));
  EXPECT_FALSE(fs::exists(run_.Songs() / fs::path(u8"我的歌声里.lrc")));
}

TEST_F(Batch, AFolderWithoutSongsShowsItsMessageAndLogsNothing) {
  std::ofstream(run_.Songs() / "notes.txt") << "not a song";
  fs::create_directories(run_.Songs() / "folder.mp3");
  ProgramRunResult result = run_.Run([&] {
    user::ClickFolderButton();
    user::ChooseFolder(run_.Songs().string());
    user::Box none = user::WaitForBox();
    EXPECT_EQ(none.text, kNoSongs);
    user::Answer(none, "确定");
    EXPECT_EQ(user::TextOf(user::Control(6)), run_.Songs().string());
    EXPECT_TRUE(IsWindowEnabled(user::MainWindow()));
    PlatformTestRequestClose(user::MainWindow());
  });
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(fs::exists(run_.LogFile()));
}

// The completion message has no owner, so the folder button can be clicked
// while it is open; the batch is still ending then, and the click does
// nothing.
TEST_F(Batch, TwoBatchesAppendAndAClickDuringTheCompletionMessageStartsNothing) {
  PutThreeSongs();
  ProgramRunResult result = run_.Run([&] {
    RunBatchUpTo(run_, 3);
    user::Box done = user::WaitForBox(30000);
    EXPECT_TRUE(user::WaitUntil([] { return IsWindowEnabled(user::MainWindow()) != FALSE; }));
    user::ClickFolderButton();
    user::ExpectNoWindow("浏览文件夹");
    user::Answer(done, "确定");
    EXPECT_TRUE(user::WaitUntil([&] { return fs::exists(run_.OpenedRecord()); }));

    RunBatchUpTo(run_, 3);
    AnswerCompletion();
    EXPECT_TRUE(user::WaitUntil([&] { return LogHolds(run_, 24); }));
    PlatformTestRequestClose(user::MainWindow());
  });
  EXPECT_EQ(result.exitCode, 0);
  std::vector<std::string> lines = Lines(run_.Read(run_.LogFile()));
  ASSERT_EQ(lines.size(), 24u);
  ExpectHeader(lines, 0, run_.Songs().string());
  ExpectThreeSongLines(lines, 3);
  ExpectHeader(lines, 12, run_.Songs().string());
  ExpectThreeSongLines(lines, 15);
}

// A box of the launch runs its own loop; the quit request ends it, and then
// the program.
TEST_F(Batch, AStopSignalWhileTheConfirmationIsOpenEndsTheProgramWithoutABatch) {
  PutThreeSongs();
  ProgramRunResult result = run_.Run([&] {
    user::ClickFolderButton();
    user::ChooseFolder(run_.Songs().string());
    EXPECT_NE(user::WaitForBox().window, nullptr);
    kill(getpid(), SIGTERM);
  });
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(fs::exists(run_.LogFile()));
}

// The window is disabled during a batch, so its close box does nothing; a
// stop signal ends the program after the current song, with the log written
// and every saved lyric kept.
TEST_F(Batch, EndingTheProgramDuringABatchKeepsWhatWasSavedAndWritesTheLog) {
  constexpr int kSongs = 1000;
  run_.PutLyric(u8"歌.lrc", "[00:00.00]la\n");
  for (int i = 1; i <= kSongs; i++)
    run_.PutSong(u8"歌" + std::u8string(reinterpret_cast<const char8_t*>(std::to_string(i).c_str())) +
                 u8".mp3");
  ProgramRunResult result = run_.Run([&] {
    RunBatchUpTo(run_, kSongs);
    EXPECT_TRUE(
        user::WaitUntil([] { return user::TextOf(user::Control(7)).find("正在下载") != std::string::npos; }));
    HWND main = user::MainWindow();
    EXPECT_FALSE(IsWindowEnabled(main));
    PlatformTestRequestClose(main);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(IsWindow(main)) << "a disabled window's close box does nothing";
    kill(getpid(), SIGTERM);
  });
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(result.exitCode, 0);
  std::vector<std::string> lines = Lines(run_.Read(run_.LogFile()));
  ASSERT_GE(lines.size(), 3u);
  ExpectHeader(lines, 0, run_.Songs().string());
  EXPECT_EQ((lines.size() - 3) % 3, 0u) << "every song that was begun was finished";
  size_t saved = static_cast<size_t>(std::count(lines.begin(), lines.end(), kSaved));
  EXPECT_EQ(saved, (lines.size() - 3) / 3);
  EXPECT_LT(saved, static_cast<size_t>(kSongs)) << "the batch stopped early";
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(run_.Songs()))
    files += entry.path().extension() == ".lrc" ? 1 : 0;
  EXPECT_EQ(files, saved);
}

} // namespace
