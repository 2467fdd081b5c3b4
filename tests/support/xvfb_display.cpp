#include "xvfb_display.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFirstNumber = 70;
constexpr int kNumbers = 60;
constexpr auto kStep = std::chrono::milliseconds(20);

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0)
      return true;
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return false;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// The child ends with this process, even when a test run is killed.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid != 0)
    return pid;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent)
    _exit(127);
  int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
  }
  execvp(program.c_str(), argv.data());
  _exit(127);
}

// The exit status, or -1 when the process was still running at `deadline`.
int WaitUntil(pid_t pid, Clock::time_point deadline) {
  for (;;) {
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    if (done < 0)
      return -1;
    if (Clock::now() >= deadline)
      return -1;
    std::this_thread::sleep_for(kStep);
  }
}

void EndProcess(pid_t pid) {
  kill(pid, SIGTERM);
  if (WaitUntil(pid, Clock::now() + std::chrono::seconds(3)) == -1) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

} // namespace

bool XvfbDisplay::Installed() { return OnPath("Xvfb"); }

bool XvfbDisplay::Start(int timeoutMs) {
  Stop();
  int offset = static_cast<int>(getpid() % kNumbers);
  for (int i = 0; i < kNumbers; i++) {
    int number = kFirstNumber + (offset + i) % kNumbers;
    std::string n = std::to_string(number);
    if (Exists("/tmp/.X" + n + "-lock") || Exists("/tmp/.X11-unix/X" + n))
      continue;
    if (StartOn(number, timeoutMs))
      return true;
  }
  return false;
}

bool XvfbDisplay::StartOn(int number, int timeoutMs) {
  std::string name = ":" + std::to_string(number);
  pid_t pid = Spawn("Xvfb", {name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
  if (pid < 0)
    return false;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Clock::now() < deadline) {
    if (waitpid(pid, nullptr, WNOHANG) == pid)
      return false; // it ended: the number was taken after all
    if (Display* display = XOpenDisplay(name.c_str())) {
      XCloseDisplay(display);
      pid_ = pid;
      name_ = name;
      return true;
    }
    std::this_thread::sleep_for(kStep);
  }
  EndProcess(pid);
  return false;
}

void XvfbDisplay::Stop() {
  if (pid_ < 0)
    return;
  EndProcess(pid_);
  pid_ = -1;
  name_.clear();
}

int RunBounded(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs) {
  pid_t pid = Spawn(program, arguments);
  if (pid < 0)
    return -1;
  int status = WaitUntil(pid, Clock::now() + std::chrono::milliseconds(timeoutMs));
  if (status == -1)
    EndProcess(pid);
  return status;
}
