// Runs the whole program, as main() does, in a child process of the test,
// with a user on a thread of that process answering it through the
// headless display's input.
//
// The child gets: the headless display; a program path inside the run's own
// folder, so that temp.txt lands there; the bundled lyric service on a free
// loopback port, reached through http_proxy for the program's own service
// address; and the run's stub folder first on PATH. Every expectation that
// fails in the child (on the user's thread or after the program ended) is
// reported as a failure of the calling test. A run that outlives its time is
// killed and reported.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

struct ProgramRunResult {
  bool ended = false; // ended by itself with an exit code
  int exitCode = -1;
  int signal = 0; // the signal that ended it, if any
};

class ProgramRun {
public:
  ProgramRun();
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  // Where the program thinks it is: temp.txt is written beside it.
  std::filesystem::path ProgramFolder() const { return folder_ / "program"; }
  std::filesystem::path LogFile() const { return ProgramFolder() / "temp.txt"; }
  std::filesystem::path Library() const { return folder_ / "library"; }
  std::filesystem::path Songs() const { return folder_ / "songs"; }
  // Each call of the stub `xdg-open` appends its arguments as one line here.
  std::filesystem::path OpenedRecord() const { return folder_ / "opened.txt"; }

  void PutLyric(const std::u8string& name, const std::string& bytes);
  void PutSong(const std::u8string& name);
  std::string Read(const std::filesystem::path& path) const;

  // The user runs on a thread of the child while the program runs on its
  // main thread. Returns once the child has ended (or was killed).
  ProgramRunResult Run(const std::function<void()>& user);

private:
  std::filesystem::path folder_;
};
