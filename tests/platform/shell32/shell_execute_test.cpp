#include "shell32/shell_execute.h"

#include "stub_programs.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

intptr_t Code(HINSTANCE result) { return reinterpret_cast<intptr_t>(result); }

intptr_t Open(LPCSTR verb, const std::string& file, LPCSTR parameters = nullptr, LPCSTR directory = nullptr) {
  return Code(ShellExecuteA(nullptr, verb, file.c_str(), parameters, directory, 1));
}

std::string CurrentDirectory() {
  char buffer[4096];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

class ShellExecuteTest : public testing::Test {
protected:
  void SetUp() override {
    stubs.Install("xdg-open");
    stubs.Install("lp");
    file = stubs.Put("log.txt");
  }

  StubPrograms stubs;
  std::string file;
};

TEST_F(ShellExecuteTest, OpeningVerbsRunXdgOpenWithTheFile) {
  const char* verbs[] = {nullptr, "", "open", "edit", "OPEN", "Edit"};
  for (const char* verb : verbs) {
    SCOPED_TRACE(verb ? verb : "(null)");
    EXPECT_EQ(Open(verb, file), SHELL_EXECUTE_STARTED);
    auto run = stubs.WaitForRun("xdg-open");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->arguments, Strings{file});
    EXPECT_FALSE(stubs.HasRun("lp"));
  }
}

TEST_F(ShellExecuteTest, PrintRunsLp) {
  EXPECT_EQ(Open("print", file), SHELL_EXECUTE_STARTED);
  auto run = stubs.WaitForRun("lp");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->arguments, Strings{file});
  EXPECT_FALSE(stubs.HasRun("xdg-open"));
}

TEST_F(ShellExecuteTest, ExploreOpensFoldersOnly) {
  std::string folder = stubs.MakeFolder("songs");
  EXPECT_EQ(Open("explore", folder), SHELL_EXECUTE_STARTED);
  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->arguments, Strings{folder});

  EXPECT_EQ(Open("explore", file), SE_ERR_NOASSOC);
}

TEST_F(ShellExecuteTest, FailuresStartNothing) {
  struct Case {
    const char* verb;
    std::string file;
    const char* directory;
    intptr_t expected;
  } cases[] = {
      {"find", file, nullptr, SE_ERR_NOASSOC},
      {"runas", file, nullptr, SE_ERR_NOASSOC},
      {"openas", file, nullptr, SE_ERR_NOASSOC},
      {"open", stubs.Folder() + "/missing.txt", nullptr, SE_ERR_FNF},
      {"print", stubs.Folder() + "/missing.txt", nullptr, SE_ERR_FNF},
      {"explore", stubs.Folder() + "/missing", nullptr, SE_ERR_FNF},
      {"open", "", nullptr, SE_ERR_FNF},
      {"open", "log.txt", "", SE_ERR_FNF},
      {"open", file, "/tmp/no-such-folder-of-shell32", SE_ERR_PNF},
      {"open", file, file.c_str(), SE_ERR_PNF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.verb + std::string(" ") + c.file);
    EXPECT_EQ(Open(c.verb, c.file, nullptr, c.directory), c.expected);
  }
  EXPECT_EQ(Code(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, 1)), SE_ERR_FNF);
  EXPECT_FALSE(stubs.WaitForRun("xdg-open", std::chrono::milliseconds(200)));
  EXPECT_FALSE(stubs.HasRun("lp"));
}

TEST(ShellExecuteWithoutPrograms, FailsWhenTheOpenerIsNotOnPath) {
  StubPrograms stubs;
  std::string file = stubs.Put("log.txt");
  EXPECT_EQ(Open("open", file), SE_ERR_NOASSOC);
  EXPECT_EQ(Open("print", file), SE_ERR_NOASSOC);

  // A file of that name that cannot run is no opener either.
  std::string fake = stubs.Put("xdg-open");
  EXPECT_EQ(Open(nullptr, file), SE_ERR_NOASSOC);
  // Nor one that may run but is no program: the failed exec is reported.
  ASSERT_EQ(chmod(fake.c_str(), 0755), 0);
  EXPECT_EQ(Open(nullptr, file), SE_ERR_NOASSOC);
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellExecuteTest, RunsInTheDirectoryGivenAndFindsRelativeFilesThere) {
  std::string folder = stubs.MakeFolder("songs");
  stubs.Put("songs/a.lrc");
  EXPECT_EQ(Open("open", "a.lrc", nullptr, folder.c_str()), SHELL_EXECUTE_STARTED);
  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->directory, folder);
  EXPECT_EQ(run->arguments, Strings{"a.lrc"});

  for (const char* current : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_EQ(Open("open", file, nullptr, current), SHELL_EXECUTE_STARTED);
    run = stubs.WaitForRun("xdg-open");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->directory, CurrentDirectory());
  }
}

TEST_F(ShellExecuteTest, ParametersFollowTheFileWordByWord) {
  struct Case {
    const char* parameters;
    Strings words;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"-a b", {"-a", "b"}},
      {"  -x\t\"My Songs\"  c ", {"-x", "My Songs", "c"}},
      {"\"\" end", {"", "end"}},
      {"\xD6\xD0\xCE\xC4", {"中文"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parameters);
    EXPECT_EQ(Open("open", file, c.parameters), SHELL_EXECUTE_STARTED);
    auto run = stubs.WaitForRun("xdg-open");
    ASSERT_TRUE(run);
    Strings expected{file};
    expected.insert(expected.end(), c.words.begin(), c.words.end());
    EXPECT_EQ(run->arguments, expected);
  }
}

TEST_F(ShellExecuteTest, CodePage936NamesReachTheProgramAsUtf8) {
  // 中文 is D6D0 CEC4; 乗 is 815C, whose trail byte is a backslash.
  std::string folder = stubs.MakeFolder("中文");
  stubs.Put("中文/乗.txt");
  std::string gbk_folder = stubs.Folder() + "\\\xD6\xD0\xCE\xC4";
  EXPECT_EQ(Open("open", gbk_folder + "\\\x81\x5C.txt"), SHELL_EXECUTE_STARTED);
  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->arguments, Strings{folder + "/乗.txt"});

  EXPECT_EQ(Open("open", "\x81\x5C.txt", nullptr, gbk_folder.c_str()), SHELL_EXECUTE_STARTED);
  run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->directory, folder);
  EXPECT_EQ(run->arguments, Strings{"乗.txt"});
}

TEST_F(ShellExecuteTest, StartsDetachedWithNullStreamsAndLeavesNoChild) {
  stubs.Install("xdg-open", "/bin/sleep 0.5");
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Open("open", file), SHELL_EXECUTE_STARTED);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(400));
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->streams, "/dev/null /dev/null /dev/null");
}

TEST_F(ShellExecuteTest, AFileNamedLikeAnOptionStaysAFile) {
  stubs.Put("-n");
  EXPECT_EQ(Open("open", "-n", nullptr, stubs.Folder().c_str()), SHELL_EXECUTE_STARTED);
  auto run = stubs.WaitForRun("xdg-open");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->arguments, Strings{"./-n"});
}

struct Seen {
  int calls = 0;
  HWND owner = nullptr;
  std::string verb = "(unset)";
  std::string file;
  bool parameters = true;
  std::string directory;
  INT show = -1;
  intptr_t result = -1;
};

void Record(const PlatformShellExecuteCall* call, void* context) {
  auto* seen = static_cast<Seen*>(context);
  seen->calls++;
  seen->owner = call->owner;
  seen->verb = call->verb ? call->verb : "(null)";
  seen->file = call->file ? call->file : "(null)";
  seen->parameters = call->parameters != nullptr;
  seen->directory = call->directory ? call->directory : "(null)";
  seen->show = call->showCommand;
  seen->result = Code(call->result);
}

TEST_F(ShellExecuteTest, TheObserverSeesEveryCallAsMadeWithItsResult) {
  Seen seen;
  PlatformTestSetShellExecuteObserver(Record, &seen);
  auto owner = reinterpret_cast<HWND>(7);
  ShellExecuteA(owner, nullptr, file.c_str(), nullptr, "", 3);
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.owner, owner);
  EXPECT_EQ(seen.verb, "(null)");
  EXPECT_EQ(seen.file, file);
  EXPECT_FALSE(seen.parameters);
  EXPECT_EQ(seen.directory, "");
  EXPECT_EQ(seen.show, 3);
  EXPECT_EQ(seen.result, SHELL_EXECUTE_STARTED);
  EXPECT_TRUE(stubs.WaitForRun("xdg-open"));

  ShellExecuteA(nullptr, "find", file.c_str(), "x", nullptr, 0);
  EXPECT_EQ(seen.calls, 2);
  EXPECT_EQ(seen.verb, "find");
  EXPECT_TRUE(seen.parameters);
  EXPECT_EQ(seen.directory, "(null)");
  EXPECT_EQ(seen.show, 0);
  EXPECT_EQ(seen.result, SE_ERR_NOASSOC);

  PlatformTestSetShellExecuteObserver(nullptr, nullptr);
  ShellExecuteA(nullptr, "find", file.c_str(), nullptr, nullptr, 0);
  EXPECT_EQ(seen.calls, 2);
}

} // namespace
