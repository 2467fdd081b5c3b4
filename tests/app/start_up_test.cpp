// The program's start: the main window as it first shows, its controls and
// what ends it.
#include "program_run.h"
#include "user_actions.h"

#include "user32/controls.h"
#include "user32/headless_display.h"
#include "user32/message.h"
#include "user32/window.h"
#include "user32/window_geometry.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace {

struct ExpectedControl {
  int id;
  const char* className;
  DWORD style;
  const char* text;
  RECT place; // client coordinates of the main window
};

const ExpectedControl kControls[] = {
    {2,
     "Static",
     0x50020000,
     "Cantiva V1.1 公测版 目前仅支持MP3格式的歌曲 其他会在V2.X支持",
     {8, 8, 448, 24}},
    {3, "Static", 0x50020000, "本软件为Quenmar开发的关于LRC歌词批量下载的小型绿色软件。", {8, 24, 400, 48}},
    {4, "Static", 0x50020000, "所有歌曲文件：", {8, 72, 93, 88}},
    {5,
     "Static",
     0x50020000,
     "请保证您的所有歌曲文件名均为正确（正确举例：我的歌声里.mp3，Vallisa-我的歌声里），"
     "无杂乱字符出现（杂乱字符举例：XX网新歌-我的歌声里免费试听.mp3）",
     {96, 56, 432, 96}},
    {6, "Static", 0x50020000, "目录未选择！", {144, 104, 448, 128}},
    {7, "Static", 0x50020000, "准备中……", {8, 136, 368, 152}},
    {8, "Button", 0x50010000, "选择歌曲所在目录", {8, 104, 144, 128}},
    {9, "Button", 0x50010703, "生成日志", {368, 136, 440, 162}},
};

RECT PlaceInParent(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void ExpectFreshMainWindow() {
  HWND main = user::MainWindow();
  ASSERT_NE(main, nullptr);
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.left, 284);
  EXPECT_EQ(outer.top, 289);
  EXPECT_EQ(outer.right - outer.left, 456);
  EXPECT_EQ(outer.bottom - outer.top, 189);
  // It can be minimised, but neither maximised nor resized.
  DWORD style = static_cast<DWORD>(GetWindowLongA(main, GWL_STYLE));
  EXPECT_EQ(style & 0x008A0000u, 0x008A0000u);
  EXPECT_EQ(style & 0x00050000u, 0u);
  EXPECT_TRUE(IsWindowEnabled(main));
  for (const ExpectedControl& expected : kControls) {
    SCOPED_TRACE(expected.id);
    HWND control = GetDlgItem(main, expected.id);
    ASSERT_NE(control, nullptr);
    char name[32] = {};
    GetClassNameA(control, name, sizeof name);
    EXPECT_STRCASEEQ(name, expected.className);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)), expected.style);
    EXPECT_EQ(user::TextOf(control), expected.text);
    RECT place = PlaceInParent(control);
    EXPECT_EQ(place.left, expected.place.left);
    EXPECT_EQ(place.top, expected.place.top);
    EXPECT_EQ(place.right, expected.place.right);
    EXPECT_EQ(place.bottom, expected.place.bottom);
  }
  EXPECT_TRUE(user::LogBoxTicked());
}

TEST(StartUp, TheMainWindowShowsItsControlsCentredAndClosingItEndsWithZero) {
  ProgramRun run;
  ProgramRunResult result = run.Run([] {
    ExpectFreshMainWindow();
    HWND main = user::MainWindow();
    // Only the folder button has a handler: the log box's command runs nothing.
    PostMessageA(main, WM_COMMAND, 9, 0);
    user::ExpectNoWindow("浏览文件夹");
    user::ExpectNoWindow("信息", 0);
    PlatformTestRequestClose(main);
  });
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(run.LogFile()));
}

TEST(StartUp, TheLogBoxTogglesWithoutAnyHandler) {
  ProgramRun run;
  ProgramRunResult result = run.Run([] {
    HWND box = user::Control(9);
    user::Click(box);
    EXPECT_TRUE(user::WaitUntil([] { return !user::LogBoxTicked(); }));
    user::Click(box);
    EXPECT_TRUE(user::WaitUntil([] { return user::LogBoxTicked(); }));
    user::ExpectNoWindow("信息", 200);
    PlatformTestRequestClose(user::MainWindow());
  });
  EXPECT_EQ(result.exitCode, 0);
}

// SIGTERM and SIGINT end an idle program as closing it does.
class StopSignal : public testing::TestWithParam<int> {};

TEST_P(StopSignal, EndsTheIdleProgramWithZero) {
  ProgramRun run;
  int signal = GetParam();
  ProgramRunResult result = run.Run([signal] {
    ASSERT_NE(user::MainWindow(), nullptr);
    kill(getpid(), signal);
  });
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(result.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, StopSignal, testing::Values(SIGTERM, SIGINT));

std::string ProgramBeside() {
  char self[4096] = {};
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  std::string path(self, n > 0 ? static_cast<size_t>(n) : 0);
  return path.substr(0, path.find_last_of('/')) + "/cantiva";
}

// Without a display the program says so instead of running unseen.
TEST(StartUp, WithoutADisplayTheProgramSaysSoAndExitsWithOne) {
  std::string program = ProgramBeside();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
  std::vector<std::string> environment;
  for (char** e = environ; *e; e++) {
    std::string entry = *e;
    if (!entry.starts_with("DISPLAY=") && !entry.starts_with("CANTIVA_DISPLAY=") &&
        !entry.starts_with("WAYLAND_DISPLAY="))
      environment.push_back(entry);
  }
  std::vector<char*> envp;
  for (std::string& entry : environment)
    envp.push_back(entry.data());
  envp.push_back(nullptr);
  char* argv[] = {program.data(), nullptr};
  pid_t pid = -1;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string said;
  char buffer[256];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
    said.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(said, "cantiva: cannot open display\n");
}

} // namespace
