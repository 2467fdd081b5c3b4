#include "shell32/detached_process.h"

#include "shell32/shell_execute.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Between fork and exec only async-signal-safe calls are allowed: another
// thread may have held any lock at the fork. Everything the children need
// is therefore prepared before it.
struct Launch {
  const char* program;
  char* const* argv;
  const char* directory;
  int report;
};

// What a child writes to the report pipe before it gives up.
enum Report : unsigned char { kNoDirectory = 'd', kNoExec = 'x', kNoFork = 'f' };

int ReportToResult(unsigned char report) {
  switch (report) {
  case kNoDirectory:
    return SE_ERR_PNF;
  case kNoFork:
    return SE_ERR_OUT_OF_RESOURCES;
  default:
    return SE_ERR_NOASSOC;
  }
}

// The report pipe; each end is closed once, by whoever holds it last.
class ReportPipe {
public:
  ReportPipe() {
    if (::pipe2(fds_, O_CLOEXEC) != 0)
      fds_[0] = fds_[1] = -1;
  }
  ReportPipe(const ReportPipe&) = delete;
  ReportPipe& operator=(const ReportPipe&) = delete;
  ~ReportPipe() {
    CloseWriteEnd();
    if (fds_[0] >= 0)
      ::close(fds_[0]);
  }
  bool Valid() const { return fds_[0] >= 0; }
  int ReadEnd() const { return fds_[0]; }
  int WriteEnd() const { return fds_[1]; }
  void CloseWriteEnd() {
    if (fds_[1] >= 0)
      ::close(fds_[1]);
    fds_[1] = -1;
  }

private:
  int fds_[2];
};

[[noreturn]] void Fail(int report, Report code) {
  while (::write(report, &code, 1) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

void UseNullStreams() {
  int null = ::open("/dev/null", O_RDWR);
  if (null < 0)
    return;
  for (int fd = 0; fd <= 2; fd++)
    ::dup2(null, fd);
  if (null > 2)
    ::close(null);
}

// The program inherits neither our blocked signals nor our descriptors
// (display connections, sockets): those opened without O_CLOEXEC are
// marked now. Kernels without the flag leave them as they were.
void CleanSlate() {
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  ::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
}

[[noreturn]] void RunGrandchild(const Launch& launch) {
  if (*launch.directory && ::chdir(launch.directory) != 0)
    Fail(launch.report, kNoDirectory);
  UseNullStreams();
  CleanSlate();
  ::execv(launch.program, launch.argv);
  Fail(launch.report, kNoExec);
}

[[noreturn]] void RunChild(const Launch& launch) {
  ::setsid();
  pid_t grandchild = ::fork();
  if (grandchild == 0)
    RunGrandchild(launch);
  if (grandchild < 0)
    Fail(launch.report, kNoFork);
  ::_exit(0);
}

void Reap(pid_t child) {
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
}

// SHELL_EXECUTE_STARTED when the pipe closed without a word, which means
// exec succeeded. The wait is as long as the grandchild's way to exec.
int ReadReport(int report) {
  unsigned char code = 0;
  ssize_t got;
  while ((got = ::read(report, &code, 1)) < 0 && errno == EINTR) {
  }
  return got == 1 ? ReportToResult(code) : SHELL_EXECUTE_STARTED;
}

} // namespace

int StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& directory) {
  std::vector<char*> argv;
  for (const std::string& a : arguments)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  ReportPipe report;
  if (!report.Valid())
    return SE_ERR_OUT_OF_RESOURCES;
  Launch launch{program.c_str(), argv.data(), directory.c_str(), report.WriteEnd()};
  pid_t child = ::fork();
  if (child == 0)
    RunChild(launch);
  // Only the children's copies of the write end may keep the pipe open now.
  report.CloseWriteEnd();
  if (child < 0)
    return SE_ERR_OUT_OF_RESOURCES;
  Reap(child);
  return ReadReport(report.ReadEnd());
}
