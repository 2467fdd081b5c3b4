#include "program_run.h"

#include "user_actions.h"

#include "app/program.h"
#include "kernel32/process.h"
#include "service/lyric_service.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int kRunSeconds = 90;

void BlockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void WriteAll(int fd, const std::string& bytes) {
  for (size_t at = 0; at < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
    if (n <= 0)
      return;
    at += static_cast<size_t>(n);
  }
}

// Every failed expectation of the child's test, each ended by a NUL.
void ReportFailures(int fd) {
  const testing::TestResult* result = testing::UnitTest::GetInstance()->current_test_info()->result();
  for (int i = 0; i < result->total_part_count(); i++) {
    const testing::TestPartResult& part = result->GetTestPartResult(i);
    if (part.failed())
      WriteAll(fd, std::string(part.file_name() ? part.file_name() : "?") + ":" +
                       std::to_string(part.line_number()) + ": " + part.message() + '\0');
  }
}

void WriteStubOpener(const fs::path& folder, const fs::path& record) {
  fs::create_directories(folder);
  fs::path stub = folder / "xdg-open";
  std::ofstream(stub) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << record.string() << "'\n";
  fs::permissions(stub, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

int RunChild(const ProgramRun& run, const std::function<void()>& user, int reportFd) {
  BlockStopSignals(); // before any thread: the program's own watcher takes them
  setenv("CANTIVA_DISPLAY", "headless", 1);
  unsetenv("no_proxy");
  unsetenv("NO_PROXY");
  std::string path = (run.ProgramFolder() / "cantiva").string();
  PlatformTestSetProgramPath(path.c_str());
  std::string stubs = (run.Folder() / "stubs").string();
  setenv("PATH", (stubs + ":" + std::getenv("PATH")).c_str(), 1);
  lyric_service::LyricServiceRunner service(run.Library());
  if (service.Port() == 0) {
    WriteAll(reportFd, "the lyric service did not start: " + service.Error() + '\0');
    return 99;
  }
  setenv("http_proxy", service.BaseUrl().c_str(), 1);
  std::thread user_thread([&] {
    user::WaitForStart();
    user();
  });
  int code = RunProgram();
  user_thread.join();
  ReportFailures(reportFd);
  return code;
}

std::string ReadReport(int fd) {
  std::string report;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kRunSeconds);
  for (;;) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd poll_fd{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&poll_fd, 1, static_cast<int>(left.count())) <= 0)
      return report;
    char buffer[4096];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0)
      return report;
    report.append(buffer, static_cast<size_t>(n));
  }
}

ProgramRunResult Reap(pid_t pid) {
  ProgramRunResult result;
  int status = 0;
  pid_t got = 0;
  for (int i = 0; i < 500 && (got = waitpid(pid, &status, WNOHANG)) == 0; i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (got != pid) {
    ADD_FAILURE() << "the program did not end; killed";
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return result;
  }
  result.ended = WIFEXITED(status);
  result.exitCode = result.ended ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

} // namespace

ProgramRun::ProgramRun() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  folder_ = fs::temp_directory_path() /
            ("cantiva-app-" + std::to_string(getpid()) + "-" + test->test_suite_name() + "-" + test->name());
  fs::remove_all(folder_);
  for (const fs::path& made : {ProgramFolder(), Library(), Songs()})
    fs::create_directories(made);
  WriteStubOpener(folder_ / "stubs", OpenedRecord());
}

ProgramRun::~ProgramRun() {
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void ProgramRun::PutLyric(const std::u8string& name, const std::string& bytes) {
  std::ofstream(Library() / fs::path(name), std::ios::binary) << bytes;
}

void ProgramRun::PutSong(const std::u8string& name) {
  std::ofstream(Songs() / fs::path(name), std::ios::binary) << "ID3";
}

std::string ProgramRun::Read(const fs::path& path) const {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ProgramRunResult ProgramRun::Run(const std::function<void()>& user) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "no pipe";
    return {};
  }
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    int code = RunChild(*this, user, fds[1]);
    std::fflush(nullptr);
    _exit(code);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    ADD_FAILURE() << "no child process";
    return {};
  }
  std::string report = ReadReport(fds[0]);
  close(fds[0]);
  ProgramRunResult result = Reap(pid);
  for (size_t at = 0; at < report.size();) {
    size_t end = report.find('\0', at);
    if (end == std::string::npos)
      end = report.size();
    ADD_FAILURE() << "in the program's process: " << report.substr(at, end - at);
    at = end + 1;
  }
  return result;
}
