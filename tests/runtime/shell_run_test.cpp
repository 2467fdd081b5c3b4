#include "runtime/shell_run.h"
#include "shell32/shell_execute.h"

#include "../platform/shell32/stub_programs.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// File names on disk are UTF-8; the system's texts are code page 936.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Seen {
  int calls = 0;
  HWND owner = reinterpret_cast<HWND>(1);
  std::optional<std::string> verb;
  std::optional<std::string> parameters;
  std::optional<std::string> directory;
  INT show = -1;
  intptr_t result = 0;
};

std::optional<std::string> Text(LPCSTR text) {
  return text ? std::optional<std::string>(text) : std::nullopt;
}

void Record(const PlatformShellExecuteCall* call, void* context) {
  auto* seen = static_cast<Seen*>(context);
  seen->calls++;
  seen->owner = call->owner;
  seen->verb = Text(call->verb);
  seen->parameters = Text(call->parameters);
  seen->directory = Text(call->directory);
  seen->show = call->showCommand;
  seen->result = reinterpret_cast<intptr_t>(call->result);
}

class ShellRunTest : public testing::Test {
protected:
  void SetUp() override {
    stubs.Install("xdg-open");
    stubs.Install("lp");
    file = stubs.Put("temp.txt");
    PlatformTestSetShellExecuteObserver(Record, &seen);
  }
  void TearDown() override { PlatformTestSetShellExecuteObserver(nullptr, nullptr); }

  StubPrograms stubs;
  std::string file;
  Seen seen;
};

TEST_F(ShellRunTest, OpensWithNothingButVerbAndFileLikeTheBatchDoes) {
  ShellRun(4, file.c_str());
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.owner, nullptr);
  EXPECT_EQ(seen.verb, "open");
  EXPECT_EQ(seen.parameters, std::nullopt);
  EXPECT_EQ(seen.directory, "");
  EXPECT_EQ(seen.show, 1);
  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->arguments, Strings{file});
  char current[4096];
  ASSERT_NE(getcwd(current, sizeof current), nullptr);
  EXPECT_EQ(run->directory, current);
}

TEST_F(ShellRunTest, TakesTheVerbFromItsTable) {
  struct Case {
    std::optional<int32_t> index;
    std::optional<std::string> verb;
    const char* program;
  } cases[] = {
      {std::nullopt, std::nullopt, "xdg-open"},
      {0, std::nullopt, "xdg-open"},
      {1, "edit", "xdg-open"},
      {2, "explore", nullptr},
      {3, "find", nullptr},
      {4, "open", "xdg-open"},
      {5, "print", "lp"},
      {6, std::nullopt, "xdg-open"},
      {-1, std::nullopt, "xdg-open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index ? std::to_string(*c.index) : "omitted");
    ShellRun(c.index, file.c_str());
    EXPECT_EQ(seen.verb, c.verb);
    if (c.program) {
      auto run = stubs.WaitForRun(c.program);
      ASSERT_TRUE(run);
      EXPECT_EQ(run->arguments, Strings{file});
    } else {
      EXPECT_EQ(seen.result, SE_ERR_NOASSOC);
    }
  }
  EXPECT_FALSE(stubs.HasRun("xdg-open"));
  EXPECT_FALSE(stubs.HasRun("lp"));
}

TEST_F(ShellRunTest, TakesTheShowCommandFromItsTable) {
  struct Case {
    std::optional<int32_t> index;
    INT show;
  } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 8}, {6, 6}, {7, 1}, {0, 1}, {-1, 1}, {std::nullopt, 1}};
  std::string missing = stubs.Folder() + "/missing.txt";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index ? std::to_string(*c.index) : "omitted");
    ShellRun(4, missing.c_str(), std::nullopt, std::nullopt, c.index);
    EXPECT_EQ(seen.show, c.show);
    EXPECT_EQ(seen.result, SE_ERR_FNF);
  }
}

TEST_F(ShellRunTest, PassesParametersAndDirectoryInCodePage936) {
  std::string folder = stubs.MakeFolder(Utf8(u8"歌曲"));
  stubs.Put(Utf8(u8"歌曲/中文.txt"));
  std::string gbk_folder = stubs.Folder() + "\\歌曲";
  ShellRun(4, "中文.txt", TextRef("-a \"b c\" 词"), TextRef(gbk_folder.c_str()));
  EXPECT_EQ(seen.parameters, "-a \"b c\" 词");
  EXPECT_EQ(seen.directory, gbk_folder);
  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->directory, folder);
  EXPECT_EQ(run->arguments, (Strings{Utf8(u8"中文.txt"), "-a", "b c", Utf8(u8"词")}));

  // Given but empty parameters are parameters all the same.
  ShellRun(4, file.c_str(), TextRef());
  EXPECT_EQ(seen.parameters, "");
  EXPECT_TRUE(stubs.WaitForRun("xdg-open"));
}

TEST(ShellRunWithoutPrograms, FailsSilently) {
  StubPrograms stubs;
  std::string file = stubs.Put("temp.txt");
  Seen seen;
  PlatformTestSetShellExecuteObserver(Record, &seen);
  ShellRun(4, file.c_str());
  EXPECT_EQ(seen.result, SE_ERR_NOASSOC);
  ShellRun(4, "");
  EXPECT_EQ(seen.result, SE_ERR_FNF);
  PlatformTestSetShellExecuteObserver(nullptr, nullptr);
  EXPECT_EQ(seen.calls, 2);
}

} // namespace
