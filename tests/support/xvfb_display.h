// Test helper: a private X server (Xvfb) for the tests that need a real
// display. Start picks a display number nobody uses, starts
// `Xvfb :N -screen 0 1024x768x24 -nolisten tcp` and waits (bounded) until
// it accepts connections; the destructor stops it and waits for it, killing
// it when it does not end in time (and it dies with the test process if that
// is killed). A test skips when Xvfb is not installed.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class XvfbDisplay {
public:
  XvfbDisplay() = default;
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;
  ~XvfbDisplay() { Stop(); }

  static bool Installed();
  // False when no server came up within `timeoutMs`.
  bool Start(int timeoutMs = 10000);
  void Stop();
  // ":N", for DISPLAY.
  const std::string& Name() const { return name_; }

private:
  bool StartOn(int number, int timeoutMs);

  pid_t pid_ = -1;
  std::string name_;
};

// Runs a program found on PATH with a time limit; its exit status, or -1
// when it could not run or was stopped at the limit. Output goes to
// /dev/null.
int RunBounded(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs);
