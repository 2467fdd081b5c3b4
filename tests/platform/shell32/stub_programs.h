// Stand-ins for the desktop's programs in the shell tests.
//
// A fresh folder under /tmp becomes the whole of PATH while the object
// lives, so no real opener or printer ever runs. Each stub installed there
// is a tiny shell script that records where it ran, what its standard
// streams were and the arguments it got, then renames the record into
// place, so a record is complete once it can be seen. The shell starts its
// programs detached: WaitForRun polls for the record, for a bounded time.
//
// The fixture's texts are UTF-8 (what the file system and the stubs see).
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
// Also the clocks: <chrono> itself does not compile with code page 936
// literals (its "\u00b5s" suffix), and system-code tests include this file.
#include <thread>
#include <vector>

struct StubRun {
  std::string directory;
  // The targets of standard input, output and error, blank-separated.
  std::string streams;
  std::vector<std::string> arguments;
};

class StubPrograms {
public:
  StubPrograms() {
    char name[] = "/tmp/shell32-test-XXXXXX";
    if (mkdtemp(name))
      folder_ = name;
    const char* path = std::getenv("PATH");
    saved_path_ = path ? std::optional<std::string>(path) : std::nullopt;
    setenv("PATH", folder_.c_str(), 1);
  }
  ~StubPrograms() {
    if (saved_path_)
      setenv("PATH", saved_path_->c_str(), 1);
    else
      unsetenv("PATH");
    std::error_code ignored;
    if (!folder_.empty())
      std::filesystem::remove_all(folder_, ignored);
  }
  StubPrograms(const StubPrograms&) = delete;
  StubPrograms& operator=(const StubPrograms&) = delete;

  // The folder on PATH; ASCII, so it reads the same in code page 936. Tests
  // keep their files below it too.
  const std::string& Folder() const { return folder_; }

  // A stub program `name`; `prelude` runs before it records anything.
  void Install(const std::string& name, const std::string& prelude = "") const {
    std::string record = folder_ + "/" + name + ".run";
    std::ofstream script(folder_ + "/" + name);
    script << "#!/bin/sh\n"
           << prelude
           << "\n"
           // Read before the redirection below moves the script's own output.
           << "streams=\"$(/bin/readlink /proc/$$/fd/0) $(/bin/readlink /proc/$$/fd/1) "
              "$(/bin/readlink /proc/$$/fd/2)\"\n"
           << "{ pwd -P\n"
           << "  echo \"$streams\"\n"
           << "  for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
           << "} > '" << record << ".tmp'\n"
           << "/bin/mv '" << record << ".tmp' '" << record << "'\n";
    script.close();
    ::chmod((folder_ + "/" + name).c_str(), 0755);
  }

  // Waits up to the time-out for the record of the stub's next run and
  // takes it away, so that a later run leaves a record of its own.
  std::optional<StubRun> WaitForRun(const std::string& name,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(5)) const {
    std::string record = folder_ + "/" + name + ".run";
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!std::filesystem::exists(record)) {
      if (std::chrono::steady_clock::now() >= deadline)
        return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(record);
    StubRun run;
    std::getline(in, run.directory);
    std::getline(in, run.streams);
    for (std::string line; std::getline(in, line);)
      run.arguments.push_back(line);
    in.close();
    std::filesystem::remove(record);
    return run;
  }

  // Whether the stub has left a record by now (for runs that must not be).
  bool HasRun(const std::string& name) const {
    return std::filesystem::exists(folder_ + "/" + name + ".run");
  }

  // `name` is UTF-8, as on disk.
  std::string Put(const std::string& name) const {
    std::string full = folder_ + "/" + name;
    std::ofstream(full) << "x";
    return full;
  }

  std::string MakeFolder(const std::string& name) const {
    std::string full = folder_ + "/" + name;
    std::filesystem::create_directories(full);
    return full;
  }

private:
  std::string folder_;
  std::optional<std::string> saved_path_;
};
