// The built cantiva-lyric-service program: it serves, ends with status 0 on SIGTERM and SIGINT,
// and fails with status 1 and a message when it cannot start.
#include "service_fixture.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <optional>
#include <thread>

extern char** environ;

namespace {

using namespace service_test;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(10);

// The program with its standard error on a pipe; killed and reaped if a test leaves it running.
class ServiceProcess {
public:
  // `ignore_sigint`: started the way a shell starts a background job, with SIGINT ignored.
  explicit ServiceProcess(std::vector<std::string> arguments, bool ignore_sigint = false) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    arguments.insert(arguments.begin(), CANTIVA_LYRIC_SERVICE_BIN);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
      argv.push_back(argument.data());
    argv.push_back(nullptr);
    // An ignored signal stays ignored across exec; this test binary has no use for SIGINT.
    struct sigaction previous {};
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    if (ignore_sigint)
      sigaction(SIGINT, &ignore, &previous);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
    if (ignore_sigint)
      sigaction(SIGINT, &previous, nullptr);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    stderr_fd_ = fds[0];
  }

  ~ServiceProcess() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (stderr_fd_ >= 0)
      close(stderr_fd_);
  }

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  const std::string& Stderr() const { return stderr_; }

  // Reads standard error until `text` shows up, the pipe closes or the time is up.
  bool WaitForStderr(std::string_view text) {
    const auto deadline = Clock::now() + kPatience;
    while (stderr_.find(text) == std::string::npos) {
      if (!ReadStderr(deadline))
        return false;
    }
    return true;
  }

  // The exit status, or nothing when the program is still running after the time is up.
  std::optional<int> WaitForExit() {
    const auto deadline = Clock::now() + kPatience;
    while (!status_ && Clock::now() < deadline) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_)
        status_ = status;
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (status_)
      while (ReadStderr(Clock::now() + std::chrono::milliseconds(100))) {
      }
    return status_;
  }

private:
  bool ReadStderr(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd fd{stderr_fd_, POLLIN, 0};
    if (left <= 0 || poll(&fd, 1, static_cast<int>(left)) <= 0)
      return false;
    char buffer[1024];
    ssize_t got = read(stderr_fd_, buffer, sizeof buffer);
    if (got <= 0)
      return false;
    stderr_.append(buffer, static_cast<size_t>(got));
    return true;
  }

  pid_t pid_ = -1;
  int stderr_fd_ = -1;
  std::string stderr_;
  std::optional<int> status_;
};

// The port the program announces: "... at http://127.0.0.1:PORT".
int AnnouncedPort(const std::string& text) {
  constexpr std::string_view kAt = "at http://127.0.0.1:";
  size_t at = text.find(kAt);
  return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + kAt.size());
}

// A plain listening socket on a free loopback port, held for the test's length.
class TakenPort {
public:
  TakenPort() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd_, 1) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0)
      port_ = ntohs(address.sin_port);
  }
  ~TakenPort() { close(fd_); }
  int Port() const { return port_; }

private:
  int fd_ = -1;
  int port_ = 0;
};

class ServiceBinary : public ::testing::TestWithParam<int> {};

TEST_P(ServiceBinary, ServesThenEndsCleanlyOnSignal) {
  TempFolder library;
  library.Write("我的歌声里.lrc", "[00:01.00]歌");
  ServiceProcess service({"--library", library.Path().string(), "--port", "0"}, GetParam() == SIGINT);
  ASSERT_TRUE(service.Started());
  ASSERT_TRUE(service.WaitForStderr("\n")) << service.Stderr();
  const int port = AnnouncedPort(service.Stderr());
  ASSERT_NE(port, 0) << service.Stderr();

  RawResponse page =
      RawGet(port, "/search/lrc?from=new_mp3&key=%E6%88%91%E7%9A%84%E6%AD%8C%E5%A3%B0%E9%87%8C");
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(ClientLink(page.body), "/lrc/1.lrc");
  EXPECT_EQ(RawGet(port, "/lrc/1.lrc").body, "[00:01.00]歌");
  ASSERT_TRUE(service.WaitForStderr("GET /lrc/1.lrc 200\n")) << service.Stderr();

  ASSERT_EQ(kill(service.Pid(), GetParam()), 0);
  std::optional<int> status = service.WaitForExit();
  ASSERT_TRUE(status) << "still running after the signal";
  ASSERT_TRUE(WIFEXITED(*status)) << "ended by a signal: " << WTERMSIG(*status);
  EXPECT_EQ(WEXITSTATUS(*status), 0) << service.Stderr();
}

INSTANTIATE_TEST_SUITE_P(Signals, ServiceBinary, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "Term" : "Int"; });

TEST(ServiceBinaryStart, FailuresExitOneWithAMessage) {
  TempFolder library;
  library.Write("a.lrc", "a");
  TakenPort taken;
  ASSERT_NE(taken.Port(), 0);
  const std::string port = std::to_string(taken.Port());
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  };
  const Case cases[] = {
      {{"--library", library.Path().string(), "--port", port}, "cannot listen on 127.0.0.1:" + port},
      {{"--library", (library.Path() / "absent").string(), "--port", "0"}, "absent"},
  };
  for (const Case& c : cases) {
    ServiceProcess service(c.arguments);
    ASSERT_TRUE(service.Started());
    std::optional<int> status = service.WaitForExit();
    ASSERT_TRUE(status) << c.message << ": still running";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 1) << c.message;
    EXPECT_NE(service.Stderr().find(c.message), std::string::npos) << service.Stderr();
  }
}

TEST(ServiceBinaryStart, BadCommandLineShowsUsage) {
  for (std::vector<std::string> arguments : {std::vector<std::string>{},
                                             {"--port", "1"},
                                             {"--library"},
                                             {"--library", "x", "--port", "70000"},
                                             {"--library", "x", "--colour", "red"}}) {
    ServiceProcess service(arguments);
    ASSERT_TRUE(service.Started());
    std::optional<int> status = service.WaitForExit();
    ASSERT_TRUE(status && WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 2);
    EXPECT_NE(service.Stderr().find("usage:"), std::string::npos);
  }
}

} // namespace
